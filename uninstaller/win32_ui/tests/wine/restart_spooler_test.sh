#!/usr/bin/env bash
# "RestartSpooler" in any letter case restarts the Spooler service, deletes
# the package's RunOnce value and exits 0; with more text after it the
# interactive uninstaller starts instead.
#   restart_spooler_test.sh <wine dir> <Stripwell.exe> <sw-driver.exe>
set -uo pipefail
. "$(dirname "$0")/../../../../tools/wine/testlib.sh"
wine_test_init "$1"
stripwell=$2
DRIVER=$3
runonce='HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce'

# One restart in the given word; prints the Spooler's "<state> <pid>" before
# and after. The program does not wait between its stop and its start, so a
# spooler that is slow to stop makes the start fail with "Error starting
# Spooler Service." (returns 2): that box is answered and the caller tries again.
restart_once() {
  local word=$1 before after pid code box
  drv start-service Spooler >/dev/null || fail "the Spooler service does not run"
  before=$(drv service Spooler)
  run_background "$stripwell" "$word"
  pid=$!
  box=""
  for _ in $(seq 1 300); do
    kill -0 "$pid" 2>/dev/null || break
    box=$(drv message-box 100) && break
  done
  code=$(wait_exit "$pid" 60)
  [ "$code" = 0 ] || fail "$word exited with $code"
  if [ -n "$box" ]; then
    [ "$box" = "Error starting Spooler Service." ] || fail "$word showed \"$box\""
    echo "$word: the start raced the stop and was reported; trying again"
    return 2
  fi
  after=$(drv service Spooler)
  [ "${after%% *}" = 4 ] || fail "Spooler not running after $word: $after"
  [ "${before#* }" != "${after#* }" ] || fail "Spooler process unchanged ($before / $after): not restarted"
  echo "$word: spooler $before -> $after"
}

for word in RestartSpooler restartspooler; do
  restarted=no
  for attempt in 1 2 3; do
    # The session stays alive for the whole run (prefix.sh), so Wine's own
    # log-on processing cannot be what deletes this value.
    wine reg add "$runonce" /v "Corvan TR820" /d "x" /f >/dev/null 2>&1
    wine reg query "$runonce" /v "Corvan TR820" >/dev/null 2>&1 || fail "could not seed RunOnce"
    result=0
    restart_once "$word" || result=$?
    if wine reg query "$runonce" /v "Corvan TR820" >/dev/null 2>&1; then
      fail "$word left the RunOnce value"
    fi
    if [ "$result" = 0 ]; then
      restarted=yes
      break
    fi
  done
  [ "$restarted" = yes ] || fail "$word never restarted the spooler in three attempts"
done

run_background "$stripwell" RestartSpooler x
pid=$!
drv wait-ready RvtUninstallWindowClass__ 90000 ||
  fail "\"RestartSpooler x\" did not start the interactive uninstaller"
drv post-command RvtUninstallWindowClass__ 1052
code=$(wait_exit "$pid" 30)
[ "$code" = 1 ] || fail "closing the main dialog gave exit code $code"
echo PASS
