#!/usr/bin/env bash
# Stripwell.exe is a 64-bit GUI program that imports only system DLLs and
# carries its manifest (administrator rights, no newer common controls) and
# its version 2.1.0.0.
#   binary_check_test.sh <wine dir> <Stripwell.exe> <sw-driver.exe>
set -uo pipefail
. "$(dirname "$0")/../../../../tools/wine/testlib.sh"
wine_test_init "$1"
stripwell=$2
DRIVER=$3

headers=$(x86_64-w64-mingw32-objdump -p "$stripwell") || fail "objdump failed"
grep -q 'Magic.*020b' <<<"$headers" || fail "not PE32+"
grep -Eq 'Subsystem[[:space:]]+0*2[[:space:]]' <<<"$headers" || fail "not a GUI program"
system_dlls='^(ADVAPI32|CFGMGR32|COMCTL32|COMDLG32|GDI32|KERNEL32|msvcrt|ole32|OLEAUT32|SETUPAPI|SHELL32|USER32|VERSION|WINSPOOL)\.(dll|DRV)$'
echo "$headers" | awk '/DLL Name:/ {print $3}' | while read -r dll; do
  grep -Eiq "$system_dlls" <<<"$dll" || fail "imports $dll"
  echo "imports $dll"
done || exit 1

version=$(drv file-version "$stripwell") || fail "no version resource"
[ "$version" = "2.1.0.0" ] || fail "file version $version"

manifest=$(drv manifest "$stripwell") || fail "no manifest"
for needle in 'name="stripwell"' 'processorArchitecture="AMD64"' 'version="1.0.0.0"' \
              'type="win32"' 'level="requireAdministrator"' 'uiAccess="false"' \
              '<description>Printer uninstall application</description>'; do
  grep -qF "$needle" <<<"$manifest" || fail "manifest lacks $needle"
done
if grep -q 'Microsoft.Windows.Common-Controls' <<<"$manifest"; then
  fail "the manifest asks for the newer common controls"
fi
echo PASS
