#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds everything and runs every test
# through CTest.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
# Formatting first: an unformatted file fails the run before the long build.
./tools/format.sh --check
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)"
