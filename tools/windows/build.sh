#!/usr/bin/env bash
# Builds the Windows program in build-windows/ (or $VELMORA_WINDOWS_BUILD): velmora-cindral.exe
# and velmora-dataprep.exe, each one statically linked file, then the installer
# Velmora-Cindral-Setup-<version>.exe and the portable Velmora-Cindral-<version>-win64.zip.
#
# Steps, each skipped when its result is already there:
#   1. the Debian packages it needs (mingw-w64, NSIS, zlib for mingw-w64, ninja, Qt's host tools);
#   2. Qt 6.4.2 for mingw-w64 as static libraries: unpacked from ../shared/toolchains, or built
#      from Debian's source package by build-qt.sh when that archive is not there;
#   3. pugixml and libzip from Debian's source packages, built as static mingw-w64 libraries;
#   4. the two programs from the same sources as the Linux build, with the Win32 platform backend,
#      the manifest, the version resource and the program icon;
#   5. the installer (makensis) and the ZIP, with fixed file times so the same commit gives the
#      same bytes.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${VELMORA_WINDOWS_BUILD:-$root/build-windows}
toolchains=${VELMORA_TOOLCHAINS:-$root/../shared/toolchains}
qt_archive=$toolchains/qt6.4.2-mingw-w64-static.tar.xz
mkdir -p "$out"
out=$(cd "$out" && pwd)
jobs=$(nproc)

# 1. Packages.
packages=(cmake ninja-build g++-mingw-w64-x86-64-posix libz-mingw-w64-dev nsis zip dpkg-dev
          qt6-base-dev-tools)
"$root/tools/install-deps.sh" "${packages[@]}"

# 2. Qt.
qt=$out/qt6-mingw
if [ ! -f "$qt/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
    if [ -f "$qt_archive" ]; then
        echo "Unpacking $qt_archive"
        tar -xJf "$qt_archive" -C "$out"
    else
        echo "No $qt_archive: building Qt from Debian's source package (about an hour on 2 cores)"
        "$root/tools/windows/build-qt.sh" "$qt"
    fi
fi

# 3. pugixml and libzip from Debian's source packages (debian-source.sh fetches them).
deps=$out/deps
export VELMORA_WINDOWS_DEPS=$deps
toolchain=$root/tools/windows/mingw-w64.toolchain.cmake
build_dep() { # build_dep PACKAGE CMAKE-ARGS...: configures, builds and installs into $deps
    local package=$1; shift
    [ -f "$deps/.built-$package" ] && return 0
    local src
    src=$("$root/tools/windows/debian-source.sh" "$package" "$out/sources")
    cmake -S "$src" -B "$out/deps-build/$package" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$deps" \
        -DBUILD_SHARED_LIBS=OFF "$@" > "$out/deps-build-$package.log"
    cmake --build "$out/deps-build/$package" -j "$jobs" >> "$out/deps-build-$package.log"
    cmake --install "$out/deps-build/$package" >> "$out/deps-build-$package.log"
    touch "$deps/.built-$package"
}
build_dep pugixml -DPUGIXML_BUILD_TESTS=OFF
build_dep libzip -DENABLE_COMMONCRYPTO=OFF -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF \
    -DENABLE_OPENSSL=OFF -DENABLE_WINDOWS_CRYPTO=OFF -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF \
    -DENABLE_ZSTD=OFF -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF

# 4. The programs. rcc stores no file times when told a date.
export QT_RCC_SOURCE_DATE_OVERRIDE=1577836800
export SOURCE_DATE_EPOCH=1577836800
cmake -S "$root" -B "$out/program" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchain" -DVELMORA_WINDOWS_DEPS="$deps" \
    -DCMAKE_PREFIX_PATH="$deps" > "$out/program-configure.log"
cmake --build "$out/program" -j "$jobs"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/program/CMakeCache.txt")

# 5. Installer and ZIP.
stage=$out/stage
rm -rf "$stage"
mkdir -p "$stage"
cp "$out/program/bin/velmora-cindral.exe" "$out/program/bin/velmora-dataprep.exe" \
    "$out/program/bin/velmora-edits.exe" "$stage/"
cp "$root/resources/windows/velmora-cindral.ico" "$stage/"
touch -d @"$SOURCE_DATE_EPOCH" "$stage"/*
setup=$out/Velmora-Cindral-Setup-$version.exe
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$setup" \
    "$root/tools/windows/installer.nsi"
portable=$out/Velmora-Cindral-$version-win64.zip
rm -f "$portable"
(cd "$stage" && TZ=UTC zip -X -q -D "$portable" velmora-cindral.exe velmora-dataprep.exe \
    velmora-edits.exe)
ls -l "$out/program/bin"/*.exe "$setup" "$portable"
