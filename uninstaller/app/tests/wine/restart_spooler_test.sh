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

for word in RestartSpooler restartspooler; do
  drv start-service Spooler >/dev/null || fail "the Spooler service does not run"
  before=$(drv service Spooler)
  # The session stays alive for the whole run (prefix.sh), so Wine's own
  # log-on processing cannot be what deletes this value.
  wine reg add "$runonce" /v "Corvan TR820" /d "x" /f >/dev/null 2>&1
  wine reg query "$runonce" /v "Corvan TR820" >/dev/null 2>&1 || fail "could not seed RunOnce"

  run_background "$stripwell" "$word"
  code=$(wait_exit $! 60)
  [ "$code" = 0 ] || fail "$word exited with $code"

  after=$(drv service Spooler)
  [ "${after%% *}" = 4 ] || fail "Spooler not running after $word: $after"
  [ "${before#* }" != "${after#* }" ] || fail "Spooler process unchanged ($before / $after): not restarted"
  if wine reg query "$runonce" /v "Corvan TR820" >/dev/null 2>&1; then
    fail "$word left the RunOnce value"
  fi
  echo "$word: spooler $before -> $after, RunOnce value deleted"
done

run_background "$stripwell" RestartSpooler x
pid=$!
drv wait-ready RvtUninstallWindowClass__ 90000 ||
  fail "\"RestartSpooler x\" did not start the interactive uninstaller"
drv post-command RvtUninstallWindowClass__ 1052
code=$(wait_exit "$pid" 30)
[ "$code" = 1 ] || fail "closing the main dialog gave exit code $code"
echo PASS
