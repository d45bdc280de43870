#!/usr/bin/env bash
# Installs the demo printer package into a Wine prefix made by
# tools/wine/prefix.sh, as the package's installers would leave it: printers
# (four of the package, one of them the masking tool's and one the default,
# and another maker's), drivers in three environments, a port monitor, a
# print processor, a service, files in the system, Windows, colour, driver,
# print processor, INF and package directories, INI entries, Run values,
# Start-menu shortcuts, registry keys and the uninstaller itself with its
# Uninstall entry; beside them, another maker's things of every kind.
#   install-demo.sh <wine dir> <build dir of the win preset>
# The build dir holds bin/Stripwell.exe and demo/ (the target "demo").
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../tools/wine/env.sh"
[ -d "$1/prefix" ] || { echo "no Wine prefix in $1" >&2; exit 2; }
build=$(cd "${2:?build dir}" && pwd)
wine_env "$1"
pkg=$here/package
programs=$build/demo
for program in VDSPLAGT.EXE PAVANE32.EXE VDHOOK.DLL; do
  [ -f "$programs/$program" ] || { echo "missing $programs/$program: build the target demo" >&2; exit 2; }
done

c=$WINEPREFIX/drive_c
sys=$c/windows/system32
drivers=$sys/spool/drivers/x64
# The per-user and the common Start menu, wherever this Wine puts them; its
# start-up folders are spelt "StartUp", and a "Startup" beside them would be
# a second folder on a case-sensitive file system.
folders=$(wine cmd /c 'echo %APPDATA%^|%ALLUSERSPROFILE%' 2>/dev/null | tr -d '\r')
user_menu=$(wine winepath -u "${folders%%|*}" 2>/dev/null)/Microsoft/Windows/Start\ Menu/Programs
common_menu=$(wine winepath -u "${folders##*|}" 2>/dev/null)/Microsoft/Windows/Start\ Menu/Programs

# place <directory> <file>...: small files whose content names them.
place() {
  local dir=$1 file
  shift
  mkdir -p "$dir"
  for file in "$@"; do
    printf 'Vardel demo package: %s\r\n' "$file" >"$dir/$file"
  done
}

# The printer package.
mkdir -p "$drivers/3"
cp "$pkg/Mainscr0.unm" "$drivers/Mainscr0.unm"
cp "$pkg/pavane/Mainscr0.unm" "$drivers/3/Mainscr0.unm"
place "$sys" VDCOMMON.DLL VDPORTMN.DLL
cp "$programs/VDSPLAGT.EXE" "$sys/VDSPLAGT.EXE"
place "$c/windows" VDREADME.TXT
cp "$pkg/ini/VARDEL.INI" "$c/windows/VARDEL.INI"
place "$sys/spool/drivers/color" VDPHOTO.ICM
cp "$programs/VDHOOK.DLL" "$drivers/VDHOOK.DLL"
place "$drivers/3" VDLX300.DLL VDDEMOUI.DLL VDPHOTO.DLL PAVDRV.DLL VDUNIV.DLL ACMEGEN.DLL
place "$drivers/3/VDLX300" VDLX300.GPD
place "$drivers/3/VDLX300/backup" VDLX300.GPD
place "$sys/spool/prtprocs/x64" VDPROC.DLL
for inf in oem5 oem6 oem7 oem8; do
  cp "$pkg/inf/$inf.inf" "$c/windows/inf/$inf.inf"
  printf 'PNF\0%s\0' "$inf" >"$c/windows/inf/$inf.pnf"
done
place "$c/Program Files/Vardel/Data" VDDATA.BIN VDCOMMON.DLL
place "$c/Program Files/Vardel/Data/Models" VDLX300.GPD
printf 'my own notes\r\n' >"$c/Program Files/Vardel/Data/notes.txt"
place "$c/Program Files/Vardel/Pavane" PAVANE.HLP
cp "$programs/PAVANE32.EXE" "$c/Program Files/Vardel/Pavane/PAVANE32.EXE"
mkdir -p "$c/Program Files/Vardel/Uninstall"
cp "$build/bin/Stripwell.exe" "$c/Program Files/Vardel/Uninstall/STRIPWELL.EXE"
place "$common_menu/Vardel Printer" "Printer Manual.lnk" "Uninstall Printer.lnk"
place "$user_menu/Vardel Printer" "Printer Manual.lnk"
place "$common_menu/StartUp" "Vardel Status Monitor.lnk"
place "$common_menu/Pavane" "Pavane.lnk"

# Another maker's.
place "$sys" ACMEPMON.DLL ACMEPROC.DLL
cp "$pkg/ini/ACME.INI" "$c/windows/ACME.INI"
place "$c/Program Files/Acme" ACMEUNIN.EXE
cp "$programs/VDSPLAGT.EXE" "$c/Program Files/Acme/acmespl.exe"
place "$common_menu/Acme" "Printer Manual.lnk"
place "$user_menu/StartUp" "Acme Tray.lnk"

for reg in printers package foreign; do
  wine reg import "$pkg/$reg.reg" >/dev/null 2>&1
done
wine sc create VardelSpoolAgent binPath= 'C:\windows\system32\VDSPLAGT.EXE' start= demand \
  DisplayName= 'Vardel Spool Agent' >/dev/null 2>&1
wine sc create AcmeSpooler binPath= 'C:\Program Files\Acme\acmespl.exe' start= demand \
  DisplayName= 'Acme Spooler' >/dev/null 2>&1

check() {
  wine reg query "$1" >/dev/null 2>&1 || { echo "the demo package did not reach $1" >&2; exit 1; }
}
check 'HKLM\System\CurrentControlSet\Control\Print\Printers\Vardel LX-300'
check 'HKLM\System\CurrentControlSet\Services\VardelSpoolAgent'
check 'HKCR\VardelPrinter.Document'
echo "demo package installed in $WINEPREFIX"
