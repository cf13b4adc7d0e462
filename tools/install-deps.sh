#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the screenshots need, only when missing;
# with arguments, those packages instead (the Windows build's scripts name theirs).
set -euo pipefail
packages=(cmake g++ make pkg-config qt6-base-dev libpugixml-dev libzip-dev zlib1g-dev
          libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth g++-mingw-w64-x86-64
          fonts-dejavu-core clang-format wine wine64 xdotool x11-utils zip)
[ $# -gt 0 ] && packages=("$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
