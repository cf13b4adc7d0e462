#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds everything and runs every test
# through CTest.
#   ./test.sh              the plain build in build/
#   ./test.sh --sanitize   the same with AddressSanitizer and UndefinedBehaviorSanitizer in
#                          build-sanitize/ (built at lower priority); any report fails the run
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
# Formatting first: an unformatted file fails the run before the long build.
./tools/format.sh --check
export QT_QPA_PLATFORM=offscreen
if [ "${1:-}" = "--sanitize" ]; then
    cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_SANITIZE=ON >/dev/null
    nice -n 10 cmake --build build-sanitize -j"$(nproc)"
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export LSAN_OPTIONS=suppressions=$PWD/tests/sanitize/leaks.supp:print_suppressions=0
    # The Windows backend's tests run mingw-w64 code, which no sanitizer sees: the plain run
    # has them.
    ctest --test-dir build-sanitize --output-on-failure -j"$(nproc)" \
        -E '^(Win32Backend|WindowsProgram)\.'
    exit
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
# The Windows program, for its test under Wine: built where the static Qt for mingw-w64 is at
# hand (tools/windows/build.sh says where it looks), else that test says it was skipped.
if toolchains=$(./tools/windows/find-toolchains.sh); then
    VELMORA_TOOLCHAINS=$toolchains ./tools/windows/build.sh
else
    echo "SKIPPED: the Windows build: no qt6.4.2-mingw-w64-static.tar.xz in \$VELMORA_TOOLCHAINS or ../shared/toolchains"
fi
ctest --test-dir build --output-on-failure -j"$(nproc)"
