#!/usr/bin/env bash
# The interactive mode shows the main dialog; a second start brings the
# first one to the front and exits 0. A screenshot stays in the build tree.
#   single_instance_test.sh <wine dir> <Stripwell.exe> <sw-driver.exe> <screenshot.png>
set -uo pipefail
. "$(dirname "$0")/../../../../tools/wine/testlib.sh"
wine_test_init "$1"
stripwell=$2
DRIVER=$3
shot=$4

run_background "$stripwell"
first=$!
# Loading runs first; its messages (no scripts in a bare prefix) are answered.
caption=$(drv wait-ready RvtUninstallWindowClass__ 90000) ||
  fail "no main dialog of class RvtUninstallWindowClass__"
caption=$(echo "$caption" | grep -v '^box: ' | tail -n 1)
[ "$caption" = "Printer Uninstall" ] || fail "caption is \"$caption\""
sleep 1
screenshot "$shot"

run_background "$stripwell"
code=$(wait_exit $! 30)
[ "$code" = 0 ] || fail "the second start exited with $code"
kill -0 "$first" 2>/dev/null || fail "the first instance ended"
drv is-foreground RvtUninstallWindowClass__ || fail "the first instance is not in front"

drv post-command RvtUninstallWindowClass__ 1052
code=$(wait_exit "$first" 30)
[ "$code" = 1 ] || fail "Cancel gave exit code $code"
echo PASS
