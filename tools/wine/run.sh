#!/usr/bin/env bash
# Runs a Windows program in the prefix that prefix.sh set up.
#   run.sh --dir <dir> program.exe [arguments...]
# Used as the cross build's test emulator; the exit code is the program's.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/env.sh"

[ "${1:-}" = "--dir" ] || { echo "usage: $0 --dir <dir> program [args]" >&2; exit 2; }
dir=$2
shift 2
[ -d "$dir/prefix" ] || { echo "no Wine prefix in $dir: run prefix.sh setup first" >&2; exit 2; }
wine_env "$dir"
exec wine "$@"
