#!/usr/bin/env bash
# Stripwell.exe /QUIET /REPORT on the demo package: no window of the
# program appears on the display while it runs, the exit code is 0 or 3010
# as the report's rebootNeeded says, and the report is whole JSON.
#   quiet_demo_test.sh <wine dir> <Stripwell.exe> <sw-driver.exe> <report copy>
set -uo pipefail
. "$(dirname "$0")/../../../../tools/wine/testlib.sh"
wine_test_init "$1"
stripwell=$2
DRIVER=$3
copy=$4

report="$WINEPREFIX/drive_c/report.json"
rm -f "$report"
drv start-service Spooler >/dev/null || fail "the Spooler service does not run"

# Any visible X window of the program, or one with one of its titles
# (its dialogs' and message boxes' captions).
shown() {
  xdotool search --onlyvisible --class 'stripwell' 2>/dev/null
  xdotool search --onlyvisible --name 'Printer Uninstall|Loading uninstall|Fatal Error' 2>/dev/null
}

# The watch sees the program's windows when it runs on screen (closed again
# with Cancel before anything is removed), so an empty display during the
# quiet run means something. That run's report says how it ended.
rm -f "$WINEPREFIX/drive_c/interactive.json"
run_background "$stripwell" '/REPORT:C:\interactive.json'
pid=$!
seen=""
for _ in $(seq 1 100); do
  seen=$(shown)
  [ -n "$seen" ] && break
  sleep 0.2
done
[ -n "$seen" ] || fail "the display watch does not see the program's windows"
drv wait-ready RvtUninstallWindowClass__ 60000 >/dev/null || fail "no main dialog on screen"
drv post-command RvtUninstallWindowClass__ 1052
code=$(wait_exit "$pid" 30)
[ "$code" = 1 ] || fail "closing the main dialog gave exit code $code"
python3 -c 'import json, sys; r = json.load(open(sys.argv[1])); assert r["mode"] == "interactive" and r["exitCode"] == 1, r' \
  "$WINEPREFIX/drive_c/interactive.json" || fail "no report of the interactive run"

run_background "$stripwell" /QUIET '/REPORT:C:\report.json'
pid=$!
polls=0
while kill -0 "$pid" 2>/dev/null; do
  windows=$(shown)
  [ -z "$windows" ] || fail "a window appeared during the quiet run: $(xdotool getwindowname ${windows%%$'\n'*})"
  polls=$((polls + 1))
  sleep 0.1
done
code=$(wait_exit "$pid" 5)
echo "polled the display $polls times; exit code $code"
[ "$polls" -gt 5 ] || fail "the run ended before the display could be watched"

[ -f "$report" ] || fail "no report written"
cp "$report" "$copy"
python3 - "$report" "$code" <<'PY' || fail "the report does not match the exit code"
import json, sys
report = json.load(open(sys.argv[1]))
code = int(sys.argv[2])
expected = 3010 if report["rebootNeeded"] else 0
print("result", report["result"], "exitCode", report["exitCode"], "actions", len(report["actions"]))
if report.get("reason"):
    print("reason", report["reason"])
# The shell sees the low byte of the exit code (3010 -> 194).
assert report["exitCode"] == expected, report["exitCode"]
assert code == expected & 0xFF, code
assert report["mode"] == "quiet"
assert any(p["offered"] for p in report["printers"]), "no printer of the demo package offered"
PY

echo PASS
