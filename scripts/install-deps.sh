#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the demo need.
# Idempotent: packages already present are left alone. Both README commands
# run it first; nothing during a build or a test installs anything.
set -euo pipefail
packages=(
  build-essential cmake git python3
  clang libclang-rt-14-dev            # libFuzzer and sanitizers
  clang-format                        # scripts/check-format
  nlohmann-json3-dev                  # JSON in stripwell-plan
  googletest libgtest-dev libbenchmark-dev
  liblcms2-dev                        # reference colour engine for the colour tests
  libgs-common scribus-data           # real ICC printer profiles
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine64 xvfb xdotool imagemagick
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd=sudo
  echo "Installing: ${missing[*]}"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
fi
