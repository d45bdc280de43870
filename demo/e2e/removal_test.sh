#!/usr/bin/env bash
# One removal of the demo package, end to end, on a Wine machine of its own:
# makes the prefix, installs the package, takes a snapshot, runs the
# installed STRIPWELL.EXE, selects printers and presses Uninstall as a user
# does, answers the messages (No to a reboot), takes the second snapshot and
# lets the oracle judge every item. Screenshots and snapshots stay in
# <build dir>/e2e-<selection>/.
#   removal_test.sh <shared wine dir, unused> <build dir> <all|one|quiet> [--report]
# all: every printer offered; one: "Vardel LX-300" alone; quiet: an
# unattended run (every printer), whose report must agree with the snapshots.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$here/../..
. "$root/tools/wine/testlib.sh"
build=$(cd "${2:?build dir}" && pwd)
selection=${3:?all, one or quiet}
report=${4:-}
out=$build/e2e-$selection
DRIVER=$build/bin/sw-driver.exe
main=RvtUninstallWindowClass__

rm -rf "$out"
mkdir -p "$out"
BACKGROUND_PIDS=()
teardown() {
  wine_test_cleanup
  "$root/tools/wine/prefix.sh" teardown "$out/wine" >/dev/null 2>&1
}
trap teardown EXIT
"$root/demo/make-machine.sh" "$out/wine" "$build" >"$out/setup.log" 2>&1 || {
  cat "$out/setup.log" >&2
  fail "no Wine machine with the demo package"
}
wine_test_init "$out/wine"
trap teardown EXIT
python3 "$here/snapshot.py" "$out/wine" "$out/before.json" || fail "no snapshot before"

shot() {
  import -window root "$out/$1.png"
  echo "screenshot: $out/$1.png"
}
click() {
  xdotool mousemove --sync "$1" "$2"
  sleep 0.3
  xdotool click 1
  sleep 0.7
}

interactive_removal() {
  run_background 'C:\Program Files\Vardel\Uninstall\STRIPWELL.EXE'
  pid=$!
  drv wait-title "#32770" "Loading uninstall..." 30000 || fail "no loading dialog"
  sleep 0.5
  shot loading
  ready=$(drv wait-ready "$main" 90000) || fail "the main dialog did not appear"
  grep -q '^box: ' <<<"$ready" && fail "loading showed a message: $ready"
  sleep 1
  shot selection

  # The printers to select, by their rows in the list.
  items=$(drv list-items "$main" - 1020 | grep -P '^[01]\t' | cut -f2)
  case $selection in
    all) wanted=$items ;;
    one) wanted="Vardel LX-300" ;;
    *) fail "unknown selection $selection" ;;
  esac
  xdotool keydown ctrl
  while IFS= read -r name; do
    row=$(grep -nxF "$name" <<<"$items" | cut -d: -f1)
    [ -n "$row" ] || fail "$name is not offered"
    read -r x y < <(drv item-point "$main" - 1020 $((row - 1)))
    click "$x" "$y"
  done <<<"$wanted"
  xdotool keyup ctrl
  selected=$(drv list-items "$main" - 1020 | grep -P '^1\t' | cut -f2)
  [ "$selected" = "$wanted" ] || fail "selected: '$selected', wanted: '$wanted'"
  read -r x y < <(drv control-point "$main" - 1080)
  click "$x" "$y"
  drv wait-window "$main" 100 >/dev/null || fail "the main dialog went away on Uninstall"
  shot removal

  # Until the removal page has gone and no message is left: every message is
  # kept in messages.txt and shot before it is answered.
  boxes=0
  deadline=$((SECONDS + 90))
  while [ $SECONDS -lt $deadline ]; do
    if drv wait-window "#32770" 100 >/dev/null 2>&1; then
      sleep 0.5
      boxes=$((boxes + 1))
      shot "message-$boxes"
      drv answer-box 2000 >>"$out/messages.txt" || true
      continue
    fi
    # Finished: the printers left are offered again, or, with none left or a
    # restart due, the removal page stays and Cancel has become Close.
    drv wait-window "$main" 100 >/dev/null 2>&1 || break
    [ "$(drv visible "$main" - 1087)" = 1 ] || break
    [ "$(drv item-text "$main" 1052)" = "&Close" ] && break
    sleep 0.2
  done
  if [ "$(drv visible "$main" - 1087 2>/dev/null)" = 1 ] &&
    [ "$(drv item-text "$main" 1052 2>/dev/null)" != "&Close" ]; then
    shot unfinished
    fail "the removal did not finish"
  fi
  sleep 1
  drv wait-window "$main" 100 >/dev/null 2>&1 && shot finished
  drv post-command "$main" 1052 >/dev/null 2>&1
  code=$(wait_exit "$pid" 30)
  echo "Stripwell.exe ended with exit code $code; messages:"
  cat "$out/messages.txt" 2>/dev/null
  [ "$code" = timeout ] && fail "Stripwell.exe did not end"
}

# The unattended run: every printer, no window, the report beside the
# snapshots. Its exit code says whether a restart is due.
quiet_removal() {
  # Written outside drive C, so that the snapshot does not see it.
  local report
  report=$(winepath -w "$out/report.json")
  timeout 180 wine 'C:\Program Files\Vardel\Uninstall\STRIPWELL.EXE' /QUIET "/REPORT:$report"
  local code=$?
  [ -f "$out/report.json" ] || fail "no report"
  echo "Stripwell.exe /QUIET ended with exit code $code"
  local reboot
  reboot=$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["rebootNeeded"])' \
    "$out/report.json")
  # The shell sees the low byte of Windows's exit code: 3010 is 194.
  case "$code/$reboot" in
    0/False | 194/True) ;;
    *) fail "exit code $code with rebootNeeded $reboot" ;;
  esac
}

case $selection in
  quiet) quiet_removal ;;
  *) interactive_removal ;;
esac

python3 "$here/snapshot.py" "$out/wine" "$out/after.json" || fail "no snapshot after"
python3 "$here/oracle.py" "$here/expected.txt" "$selection" "$out/before.json" "$out/after.json" \
  $report >"$out/oracle.txt"
verdict=$?
grep -v '^WRONG\|^    ' "$out/oracle.txt"
grep -A2 '^WRONG' "$out/oracle.txt" | head -80
[ $verdict = 0 ] || fail "the machine is not as the oracle says ($out/oracle.txt)"
if [ "$selection" = quiet ]; then
  python3 "$here/report_check.py" "$out/report.json" "$out/before.json" "$out/after.json" ||
    fail "the report does not tell what the snapshots show"
fi
echo PASS
