# Sourced by the Wine test scripts.
#   wine_test_init <wine dir>   isolate Wine in the prefix the ctest fixture made
here_testlib=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here_testlib/env.sh"

wine_test_init() {
  [ -d "$1/prefix" ] || { echo "no Wine prefix in $1" >&2; exit 2; }
  wine_env "$1"
  BACKGROUND_PIDS=()
  trap wine_test_cleanup EXIT
}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Starts a Windows program in the background; $! is a watcher that waits for
# it and records its exit code, since wait_exit runs in a command
# substitution, a subshell that cannot wait for its parent's children.
# Ending the watcher ends the program too.
run_background() {
  (
    wine "$@" &
    child=$!
    trap 'kill "$child" 2>/dev/null' TERM
    code=0
    wait "$child" || code=$?
    echo "$code" >"$WINE_DIR/exit.$BASHPID"
  ) &
  BACKGROUND_PIDS+=($!)
}

# Waits for a background program; prints its exit code, or "timeout".
wait_exit() {
  local pid=$1 timeout=${2:-30} waited=0
  while kill -0 "$pid" 2>/dev/null; do
    sleep 0.2
    waited=$((waited + 1))
    if [ $waited -gt $((timeout * 5)) ]; then
      echo timeout
      return
    fi
  done
  cat "$WINE_DIR/exit.$pid" 2>/dev/null || echo unknown
  rm -f "$WINE_DIR/exit.$pid"
}

screenshot() {
  import -window root "$1"
  echo "screenshot: $1"
}

# Kills only the programs this test started.
wine_test_cleanup() {
  local pid
  for pid in "${BACKGROUND_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
}
