#!/usr/bin/env bash
# qnutil config with no installation and with the demonstration installation
# (samples/installation). The prefix's registry keys and C:\Quillon are put back
# as they were, whatever happens.   config_check.sh QNUTIL_EXE
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export WINEPREFIX=${QN_WINEPREFIX:-$root/build/wineprefix}
run() { "$root/scripts/wine-run" "$@"; }
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
saved=$(mktemp -d)
restore() {
  "$root/scripts/install-sample" --remove
  if [ -d "$saved/Quillon" ]; then mv "$saved/Quillon" "$WINEPREFIX/drive_c/Quillon"; fi
  for f in "$saved"/*.reg; do [ -e "$f" ] && run reg import "$(winpath "$f")" >/dev/null 2>&1; done
  rm -rf "$saved"
}
for hive in HKLM HKCU; do
  run reg export "$hive\\SOFTWARE\\Varnholt" "$(winpath "$saved/$hive.reg")" /y >/dev/null 2>&1 || true
done
if [ -d "$WINEPREFIX/drive_c/Quillon" ]; then mv "$WINEPREFIX/drive_c/Quillon" "$saved/Quillon"; fi
trap restore EXIT

status=0
check() { # OUTPUT LINE...: each line must appear as it stands
  local output=$1; shift
  for line in "$@"; do grep -qxF -- "$line" <<<"$output" || { echo "missing: $line"; status=1; }; done
}

"$root/scripts/install-sample" --remove
out=$(run "$1" config | tr -d '\r'); printf '%s\n' "$out"
check "$out" 'HKLM\SOFTWARE\Varnholt\Quillon\Install\WbPath                   not set' \
  '    0  Empty Project; file: (none); page: Blank.htm' 'Allowable project name length: 0' 'Export folder: none'
[ "$(grep -c 'not set$' <<<"$out")" = 7 ] || { echo "expected 7 values not set"; status=1; }

"$root/scripts/install-sample"
out=$(run "$1" config | tr -d '\r'); printf '%s\n' "$out"
check "$out" 'HKLM\SOFTWARE\Varnholt\Quillon\Install\WbPath                   C:\Quillon\Workbench' \
  'HKLM\SOFTWARE\Varnholt\Quillon\Configuration\Runtime Root       C:\Quillon\Runtime' \
  'HKLM\SOFTWARE\Varnholt\Quillon\Tollmark\RootDir                 C:\Quillon\Projects' \
  'HKCU\SOFTWARE\Varnholt\Quillon\Settings\BackUpLanguageDir       not set' \
  '    2  Tank farm; file: tankfarm.tpl; page: NoDocumentation.htm' \
  'Allowable project name length: 106' 'Export folder: C:\Quillon\Export'
exit $status
