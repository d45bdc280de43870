#!/usr/bin/env bash
# Installs the demo printer package into a Wine prefix made by
# tools/wine/prefix.sh: its printers (the package's two of the A3 model and
# one of the A4 model, the masking tool's and another maker's), the default
# printer, and its uninstall script in the printer driver directory.
#   install-demo.sh <wine dir>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../tools/wine/env.sh"
[ -d "$1/prefix" ] || { echo "no Wine prefix in $1" >&2; exit 2; }
wine_env "$1"

drivers="$WINEPREFIX/drive_c/windows/system32/spool/drivers/x64"
mkdir -p "$drivers/3"
cp "$here/package/Mainscr0.unm" "$drivers/Mainscr0.unm"
wine reg import "$here/package/printers.reg" >/dev/null 2>&1
wine reg query 'HKLM\System\CurrentControlSet\Control\Print\Printers\Vardel LX-300' >/dev/null 2>&1 || {
  echo "the demo printers did not reach the registry" >&2
  exit 1
}
echo "demo package installed in $WINEPREFIX"
