#!/usr/bin/env bash
# Stripwell.exe on the demo package: the loading dialog runs to its end
# without a message, the spooler is stopped and started again, and the main
# dialog appears. Screenshots of both stay in the build tree.
#   loading_demo_test.sh <wine dir> <Stripwell.exe> <sw-driver.exe> <screenshot prefix>
set -uo pipefail
. "$(dirname "$0")/../../../../tools/wine/testlib.sh"
wine_test_init "$1"
stripwell=$2
DRIVER=$3
shots=$4

drv start-service Spooler >/dev/null || fail "the Spooler service does not run"
before=$(drv service Spooler)

run_background "$stripwell"
pid=$!
drv wait-title "#32770" "Loading uninstall..." 20000 || fail "no loading dialog"
sleep 1
screenshot "$shots-loading.png"

ready=$(drv wait-ready RvtUninstallWindowClass__ 60000) || fail "the main dialog did not appear"
if grep -q '^box: ' <<<"$ready"; then
  fail "loading showed a message: $ready"
fi
screenshot "$shots-main.png"

after=$(drv service Spooler)
[ "${after%% *}" = 4 ] || fail "Spooler not running after loading: $after"
[ "${before#* }" != "${after#* }" ] || fail "Spooler process unchanged ($before / $after)"
echo "spooler restarted: $before -> $after"

drv post-command RvtUninstallWindowClass__ 1052
code=$(wait_exit "$pid" 30)
[ "$code" = 1 ] || fail "closing the main dialog gave exit code $code"
echo PASS
