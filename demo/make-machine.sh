#!/usr/bin/env bash
# A fresh Wine machine with the demo package installed: a prefix of its own
# (tools/wine/prefix.sh setup, with its own Xvfb display), then the package.
#   make-machine.sh <wine dir> <build dir of the win preset>
# Remove it with: tools/wine/prefix.sh teardown <wine dir>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/../tools/wine/prefix.sh" setup "$1"
"$here/install-demo.sh" "$1" "$2"
