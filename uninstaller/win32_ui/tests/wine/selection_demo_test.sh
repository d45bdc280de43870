#!/usr/bin/env bash
# Stripwell.exe on the demo package, as a user goes through it: the
# selection page lists exactly the package's printers of the A3 model, in
# list view with the first item focused and none selected; Uninstall waits
# for a selection; Home, Shift+End and Enter reach the removal page, where
# Cancel is disabled and the Close command does nothing. A second run with
# the registry value that enables "Other Details..." goes by mouse: the
# About box, a click on a printer, the context menu's Extra Info and the
# Uninstall button. Screenshots of every page stay in the build tree.
#   selection_demo_test.sh <wine dir> <Stripwell.exe> <sw-driver.exe> <screenshot prefix>
set -uo pipefail
. "$(dirname "$0")/../../../../tools/wine/testlib.sh"
wine_test_init "$1"
stripwell=$2
DRIVER=$3
shots=$4

main=RvtUninstallWindowClass__
gate='HKCU\SOFTWARE\VARDEL\STRIPWELL'
WM_CLOSE=16
WM_COMMAND=273
WM_SYSCOMMAND=274

start_stripwell() {
  run_background "$stripwell"
  pid=$!
  drv wait-ready "$main" 60000 >/dev/null || fail "the main dialog did not appear"
  sleep 1
}

# Without a window manager the X focus stays where it was: keys go to the
# main dialog once it has it.
activate() {
  local window
  window=$(xdotool search --name '^Printer Uninstall$' | head -1)
  [ -n "$window" ] || fail "no X window for the main dialog"
  xdotool windowactivate --sync "$window" >/dev/null 2>&1 || xdotool windowfocus --sync "$window"
}

# Keys typed into the main dialog.
keys() {
  activate
  xdotool key --delay 200 "$@"
  sleep 1
}

# A click as a hand makes it: the pointer arrives first.
click() {
  xdotool mousemove --sync "$1" "$2"
  sleep 0.5
  xdotool click "$3"
  sleep 1
}

# The list's items as "<selected>\t<name>".
items() { drv list-items "$main" - 1020 | grep -P '^[01]\t' | cut -f1,2; }

# The height of the context menu on screen.
menu_height() {
  local size
  size=$(drv window-size "#32768" -) || fail "no context menu"
  echo "${size#* }"
}

expect() {
  [ "$2" = "$3" ] || fail "$1: got '$2', expected '$3'"
}

ended_with_one() {
  local code
  code=$(wait_exit "$pid" 30)
  [ "$code" = 1 ] || fail "$1 gave exit code $code"
}

wine reg delete "$gate" /f >/dev/null 2>&1

# --- By keyboard, without the Other Details permission ---------------------
start_stripwell
listing=$(drv list-items "$main" - 1020) || fail "no printer list"
echo "$listing"
grep -qx 'view list' <<<"$listing" || fail "the list is not in list view"
grep -qx 'focused 0' <<<"$listing" || fail "the first item does not have the focus"
expect "listed printers" "$(items | cut -f2 | sort | paste -sd,)" \
  "Vardel LX-300,Vardel LX-300 (Pavane),Vardel LX-300 Office,Vardel Photo 10"
expect "selected before the user chose" "$(items | cut -f1 | sort -u)" 0
expect "Uninstall before a selection" "$(drv enabled "$main" - 1080)" 0
screenshot "$shots-select.png"

# A right-click below the items opens the short menu.
read -r x y < <(drv control-point "$main" - 1020)
click "$x" $((y + 40)) 3
plain_height=$(menu_height)
screenshot "$shots-menu-plain.png"
keys Escape

keys Home shift+End
expect "selected by Home, Shift+End" "$(items | cut -f1 | sort -u)" 1
expect "Uninstall after a selection" "$(drv enabled "$main" - 1080)" 1
keys Return
expect "removal page shown" "$(drv visible "$main" - 1087)" 1
expect "selection page shown" "$(drv visible "$main" - 1020)" 0
expect "Cancel during the removal" "$(drv enabled "$main" - 1052)" 0
screenshot "$shots-remove.png"
# The Close command is greyed: WM_CLOSE does nothing...
drv post "$main" - $WM_CLOSE 0 || fail "cannot post WM_CLOSE"
sleep 1
drv wait-window "$main" 100 >/dev/null || fail "WM_CLOSE ended the dialog during the removal"
# ... and Esc still ends it at once.
keys Escape
ended_with_one "Esc during the removal"

# --- By mouse, with the Other Details permission ---------------------------
wine reg add "$gate" /ve /d QA /f >/dev/null 2>&1 || fail "cannot set $gate"
start_stripwell

drv post "$main" - $WM_SYSCOMMAND 156 || fail "cannot post the About command"
drv wait-title "#32770" AboutBox 10000 || fail "no About box"
sleep 1
about=$(drv list-items "#32770" AboutBox 1020)
echo "$about"
grep -qP '^0\tVersion\t2\.01\.00\.00$' <<<"$about" || fail "the About box shows no version 2.01.00.00"
grep -qP '^0\tOS Platform\tWinNT$' <<<"$about" || fail "the About box shows no WinNT platform"
screenshot "$shots-about.png"
drv post "#32770" AboutBox $WM_COMMAND 1 || fail "cannot close the About box"
sleep 1

row=$(items | cut -f2 | grep -nx 'Vardel LX-300' | cut -d: -f1)
[ -n "$row" ] || fail "Vardel LX-300 is not listed"
read -r x y < <(drv item-point "$main" - 1020 $((row - 1)))
click "$x" "$y" 1
expect "selected by a click" "$(items | grep -P '^1\t' | cut -f2)" "Vardel LX-300"
expect "Uninstall after a click" "$(drv enabled "$main" - 1080)" 1

click "$x" "$y" 3
gate_height=$(menu_height)
[ "$gate_height" -gt "$plain_height" ] ||
  fail "the menu with Other Details is not taller ($gate_height, without: $plain_height)"
screenshot "$shots-menu.png"
keys Up Return # the last entry: Other Details...
title="Extra Info - Multiple Printers"
drv wait-title "#32770" "$title" 10000 || fail "Other Details... opened no Extra Info dialog"
drv post "#32770" "$title" $WM_COMMAND 1100 || fail "cannot choose the Files category"
sleep 1
extra=$(drv list-items "#32770" "$title" 1108)
echo "$extra"
# The maker's common file goes; the LX-300 driver's files stay for the
# LX-300 Office, which uses the same driver and is not being removed.
grep -qP '^0\tVDCOMMON\.DLL$' <<<"$extra" || fail "Extra Info does not list the remove set"
if grep -qP '^0\t(VDLX300\.DLL|VDDEMOUI\.DLL)$' <<<"$extra"; then
  fail "Extra Info lists a file that a remaining printer needs"
fi
screenshot "$shots-extra-info.png"
read -r x y < <(drv control-point "#32770" "$title" 1)
click "$x" "$y" 1
for _ in $(seq 20); do
  drv window-size "#32770" "$title" >/dev/null || break
  sleep 0.3
done
drv window-size "#32770" "$title" >/dev/null && fail "Close did not end Extra Info"

expect "Uninstall after Extra Info" "$(drv enabled "$main" - 1080)" 1
read -r x y < <(drv control-point "$main" - 1080)
activate
click "$x" "$y" 1
expect "removal page after the Uninstall click" "$(drv visible "$main" - 1087)" 1
drv post-command "$main" 2 || fail "cannot post IDCANCEL"
ended_with_one "IDCANCEL"
wine reg delete "$gate" /f >/dev/null 2>&1
echo PASS
