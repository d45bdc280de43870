#!/usr/bin/env bash
# Creates or removes a throwaway 64-bit Wine prefix with its own Xvfb display.
#   prefix.sh setup <dir>     create <dir>/prefix, start Xvfb, keep one Wine session alive
#   prefix.sh teardown <dir>  stop what setup started and delete the prefix
# Only processes started here are stopped: Xvfb by its recorded pid, Wine by
# "wineserver -k" of this prefix alone.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/env.sh"

cmd=${1:?setup or teardown}
dir=${2:?directory}

start_xvfb() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$WINE_DIR/xvfb.log" 2>&1 &
    echo $! >"$WINE_DIR/xvfb.pid"
    sleep 0.5
    if kill -0 "$(cat "$WINE_DIR/xvfb.pid")" 2>/dev/null; then
      echo ":$n" >"$WINE_DIR/display"
      export DISPLAY=":$n"
      return 0
    fi
  done
  echo "no free X display for Xvfb" >&2
  return 1
}

stop_xvfb() {
  if [ -f "$WINE_DIR/xvfb.pid" ]; then
    kill "$(cat "$WINE_DIR/xvfb.pid")" 2>/dev/null || true
    rm -f "$WINE_DIR/xvfb.pid" "$WINE_DIR/display"
  fi
}

case "$cmd" in
  setup)
    "$here/install-deps.sh"
    rm -rf "$dir/prefix"
    wine_env "$dir"
    stop_xvfb
    start_xvfb
    wineboot -i >/dev/null 2>&1
    # The first-boot session refuses StartServiceA (1055) for a long while:
    # end it and work in a fresh session.
    wineserver -k || true
    wineserver -w || true
    # One persistent session for the whole test run: every new session runs
    # and deletes the HKLM RunOnce values, which would hide what a test checks.
    # It is started before any other Wine command: "wineserver -p" fails
    # while a server that such a command started is still lingering.
    wineserver -p </dev/null >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    # Windows starts the Spooler at boot; Wine registers it as demand-start,
    # so it is started here to make the prefix look like a booted Windows.
    wine sc start Spooler >/dev/null 2>&1 || true
    echo "Wine prefix ready in $WINEPREFIX on display $DISPLAY"
    ;;
  teardown)
    wine_env "$dir"
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    stop_xvfb
    rm -rf "$dir/prefix"
    ;;
  *)
    echo "usage: $0 setup|teardown <dir>" >&2
    exit 2
    ;;
esac
