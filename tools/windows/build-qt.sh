#!/usr/bin/env bash
# Builds Qt 6.4.2 (qtbase: Core, Gui, Widgets, the Windows platform plugin and styles, PNG) for
# x86_64 mingw-w64 with POSIX threads as static libraries into PREFIX, from Debian's qt6-base
# source package: build-qt.sh PREFIX
# tools/windows/build.sh runs it when the team's prebuilt archive is not at hand. About an hour
# on two cores; the build folder (PREFIX-build) can be deleted afterwards.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
prefix=$1
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)
work=$prefix-build

packages=(cmake ninja-build perl g++-mingw-w64-x86-64-posix qt6-base-dev-tools dpkg-dev libwine-dev)
"$root/tools/install-deps.sh" "${packages[@]}"

src=$("$root/tools/windows/debian-source.sh" qt6-base "$work/sources")

# Debian's tarball leaves out src/3rdparty/wintab, which the Windows platform plugin includes:
# Wine's headers of the same interface (LGPL, from libwine-dev) stand in, with the one macro
# Qt expects of the original.
wintab=$src/src/3rdparty/wintab
mkdir -p "$wintab"
{
    echo "/* Wine's wintab.h (libwine-dev) in place of the one Debian's tarball leaves out. */"
    echo "#include <windows.h>"
    echo "#include <_mingw_dxhelper.h>"
    echo "#ifndef API"
    echo "#define API WINAPI"
    echo "#endif"
    cat /usr/include/wine/wine/windows/wintab.h
} > "$wintab/wintab.h"
cp /usr/include/wine/wine/windows/pktdef.h "$wintab/pktdef.h"

mkdir -p "$work/build"
cd "$work/build"
"$src/configure" \
    -prefix "$prefix" \
    -release -static -static-runtime \
    -qt-host-path /usr \
    -xplatform win32-g++ \
    -nomake tests -nomake examples \
    -no-opengl -no-dbus -no-icu -no-pkg-config \
    -no-feature-sql -no-feature-network -no-feature-printsupport \
    -no-feature-concurrent -no-feature-xml -no-feature-testlib \
    -no-vulkan \
    -qt-zlib -qt-libpng -qt-pcre -qt-harfbuzz -qt-freetype -no-libjpeg \
    -- -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/tools/windows/mingw-w64.toolchain.cmake" \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
nice ninja -j"$(nproc)"
cmake --install .
