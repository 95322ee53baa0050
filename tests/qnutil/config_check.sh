#!/usr/bin/env bash
# qnutil config with no installation and with the demonstration installation
# of samples/installation. The registry keys and C:\Quillon of the prefix are
# put back as they were, whatever happens.
#   config_check.sh QNUTIL_EXE
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export WINEPREFIX=${QN_WINEPREFIX:-$root/build/wineprefix}
exe=$1
run() { "$root/scripts/wine-run" "$@"; }
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
drive_c=$WINEPREFIX/drive_c
saved=$(mktemp -d)

restore() {
  "$root/scripts/install-sample" --remove
  [ -d "$saved/Quillon" ] && mv "$saved/Quillon" "$drive_c/Quillon"
  for f in "$saved"/*.reg; do
    [ -e "$f" ] && run reg import "$(winpath "$f")" >/dev/null 2>&1
  done
  rm -rf "$saved"
}
run reg export 'HKLM\SOFTWARE\Varnholt' "$(winpath "$saved/machine.reg")" /y >/dev/null 2>&1 || true
run reg export 'HKCU\SOFTWARE\Varnholt' "$(winpath "$saved/user.reg")" /y >/dev/null 2>&1 || true
[ -d "$drive_c/Quillon" ] && mv "$drive_c/Quillon" "$saved/Quillon"
trap restore EXIT

status=0
expect() { # OUTPUT LINE...: every line must appear exactly
  local output=$1; shift
  for line in "$@"; do
    grep -qxF -- "$line" <<<"$output" || { echo "missing line: $line"; status=1; }
  done
}

"$root/scripts/install-sample" --remove
empty=$(run "$exe" config | tr -d '\r')
printf '%s\n' "$empty"
expect "$empty" \
  'HKLM\SOFTWARE\Varnholt\Quillon\Install\WbPath                   not set' \
  'HKCU\SOFTWARE\Varnholt\Quillon\Settings\BackUpLanguageDir       not set' \
  'Templates (\Templates.ini):' \
  '    0  Empty Project; file: (none); page: Blank.htm' \
  'Allowable project name length: 0' \
  'Export folder: none'
[ "$(grep -c 'not set$' <<<"$empty")" = 7 ] || { echo "expected 7 values not set"; status=1; }
grep -q '^    1  ' <<<"$empty" && { echo "no template 1 without an installation"; status=1; }

"$root/scripts/install-sample"
sample=$(run "$exe" config | tr -d '\r')
printf '%s\n' "$sample"
expect "$sample" \
  'HKLM\SOFTWARE\Varnholt\Quillon\Install\WbPath                   C:\Quillon\Workbench' \
  'HKLM\SOFTWARE\Varnholt\Quillon\Configuration\Runtime Root       C:\Quillon\Runtime' \
  'HKLM\SOFTWARE\Varnholt\Quillon\Configuration\Templates Dir      C:\Quillon\Templates' \
  'HKLM\SOFTWARE\Varnholt\Quillon\Configuration\BackUp             C:\Quillon\Export' \
  'HKLM\SOFTWARE\Varnholt\Quillon\Configuration\ForceLanguage      not set' \
  'HKLM\SOFTWARE\Varnholt\Quillon\Tollmark\RootDir                 C:\Quillon\Projects' \
  'Templates (C:\Quillon\Templates\Templates.ini):' \
  '    1  Conveyor line; file: conveyor.tpl; page: conveyor.htm' \
  '    2  Tank farm; file: tankfarm.tpl; page: NoDocumentation.htm' \
  '    3  Packaging cell; file: packaging.tpl; page: packaging.htm' \
  'Allowable project name length: 106' \
  'Forced language locale: 0x0409' \
  'User locale class: 2, 3' \
  'Export folder: C:\Quillon\Export'
exit $status
