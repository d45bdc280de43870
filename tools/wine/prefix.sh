#!/usr/bin/env bash
# Creates or removes a throwaway 64-bit Wine prefix with its own Xvfb display.
#   prefix.sh setup <dir>     create <dir>/prefix, start Xvfb, keep one Wine session alive
#   prefix.sh teardown <dir>  stop what setup started and delete the prefix
# Only processes started here are stopped: Xvfb by its recorded pid, Wine by
# "wineserver -k" of this prefix alone. Wine and Xvfb must be installed
# (scripts/install-deps.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/env.sh"

cmd=${1:?setup or teardown}
dir=${2:?directory}

# Xvfb picks a free display itself and writes its number to the descriptor
# given with -displayfd once it accepts clients; a FIFO carries it here.
start_xvfb() {
  local fifo="$WINE_DIR/xvfb.displayfd" n=""
  rm -f "$fifo"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >"$WINE_DIR/xvfb.log" 2>&1 &
  echo $! >"$WINE_DIR/xvfb.pid"
  # Ends with nothing read when Xvfb exits (or never answers) before that.
  read -r -t 30 n <"$fifo" || true
  rm -f "$fifo"
  if [ -z "$n" ]; then
    echo "Xvfb did not start; its log ($WINE_DIR/xvfb.log):" >&2
    cat "$WINE_DIR/xvfb.log" >&2
    stop_xvfb
    return 1
  fi
  echo ":$n" >"$WINE_DIR/display"
  export DISPLAY=":$n"
}

stop_xvfb() {
  if [ -f "$WINE_DIR/xvfb.pid" ]; then
    kill "$(cat "$WINE_DIR/xvfb.pid")" 2>/dev/null || true
    rm -f "$WINE_DIR/xvfb.pid" "$WINE_DIR/display"
  fi
}

case "$cmd" in
  setup)
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
