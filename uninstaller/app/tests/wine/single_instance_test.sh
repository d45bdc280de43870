#!/usr/bin/env bash
# The interactive mode shows the main dialog; a second start brings the
# first one to the front and exits 0. A screenshot stays in the build tree.
#   single_instance_test.sh <wine dir> <Stripwell.exe> <sw-driver.exe> <screenshot.png>
set -uo pipefail
. "$(dirname "$0")/../../../../tools/wine/testlib.sh"
wine_test_init "$1"
stripwell=$2
driver=$3
shot=$4

run_background "$stripwell"
first=$!
caption=$(wine "$driver" wait-window RvtUninstallWindowClass__ 20000) ||
  fail "no main dialog of class RvtUninstallWindowClass__"
[ "$caption" = "Printer Uninstall" ] || fail "caption is \"$caption\""
sleep 1
screenshot "$shot"

run_background "$stripwell"
code=$(wait_exit $! 30)
[ "$code" = 0 ] || fail "the second start exited with $code"
kill -0 "$first" 2>/dev/null || fail "the first instance ended"
wine "$driver" is-foreground RvtUninstallWindowClass__ || fail "the first instance is not in front"

wine "$driver" post-command RvtUninstallWindowClass__ 1052
code=$(wait_exit "$first" 30)
[ "$code" = 1 ] || fail "Cancel gave exit code $code"
echo PASS
