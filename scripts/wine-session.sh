# Sourced by the scripts that run Windows programs: starts Xvfb (windows and
# dialogs need a display) and a persistent wineserver, so that each test program
# starts in a fraction of a second and Wine helper processes do not keep
# ctest's pipes open. qn_wine_session_kill ends the wineserver for scripts that
# own the prefix (CI).
qn_wine_session_start() {
  local root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  export QN_WINEPREFIX=${QN_WINEPREFIX:-$root/build/wineprefix}
  export WINEPREFIX=$QN_WINEPREFIX
  export WINEDEBUG=${WINEDEBUG:--all}
  if [ -z "${DISPLAY:-}" ]; then
    local n=99
    while [ -e "/tmp/.X${n}-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    QN_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${n}" ] && break; sleep 0.1; done
  fi
  # The first call creates the prefix if needed; then keep the server alive.
  "$root/scripts/wine-run" cmd /c exit >/dev/null 2>&1 || true
  # Persist 30 s after the last Wine program ends: several sessions may share
  # one prefix, so stopping a session never kills the server under the others.
  wineserver -p30 >/dev/null 2>&1 || true
  "$root/scripts/wine-run" cmd /c exit >/dev/null 2>&1 || true
}

qn_wine_session_stop() {
  if [ -n "${QN_XVFB_PID:-}" ]; then
    kill "$QN_XVFB_PID" >/dev/null 2>&1 || true
    wait "$QN_XVFB_PID" 2>/dev/null || true
  fi
}

qn_wine_session_kill() {
  # The server first, so no Wine program is left talking to the display.
  wineserver -k >/dev/null 2>&1 || true
  qn_wine_session_stop
}
