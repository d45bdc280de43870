#!/usr/bin/env bash
# Huebridge.dll under Wine against libhuebridge.so natively: both load the
# module by path, resolve every export by name and record the same calls
# on the same profiles; the two records must be byte-identical.
#   module_digest_test.sh <wine-dir> <native digest> <native module>
#                         <windows digest.exe> <Huebridge.dll> <work dir>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../../tools/wine/env.sh"
wine_env "$1"
native_digest=$2 native_module=$3 windows_digest=$4 windows_module=$5 work=$6

# Wine maps the Linux root to drive Z:.
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

rm -rf "$work"
mkdir -p "$work"
"$native_digest" profiles "$work"
profiles=("$work"/*.icc
          /usr/share/color/icc/ghostscript/default_cmyk.icc
          /usr/share/scribus/profiles/ISOcoated_v2_300_bas.icc)
"$native_digest" run "$native_module" "$work/native.bin" "${profiles[@]}"
windows_profiles=()
for p in "${profiles[@]}"; do windows_profiles+=("$(winpath "$p")"); done
wine "$windows_digest" run "$(winpath "$windows_module")" "$(winpath "$work/windows.bin")" \
  "${windows_profiles[@]}"
cmp "$work/native.bin" "$work/windows.bin"
echo "identical records of $(stat -c %s "$work/native.bin") bytes on ${#profiles[@]} profiles"
