#!/usr/bin/env bash
# Installs what is missing, builds and starts the editor on the stand-in game. Everything the
# demo touches lives in build/demo: the program folder (with its data directory XMLP once it
# has started), a copy of sample-game and the registry files.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

demo="$PWD/build/demo"
mkdir -p "$demo/program" "$demo/registry"
[ -d "$demo/game" ] || cp -r sample-game "$demo/game"
mkdir -p "$demo/game/mods"
cp build/bin/velmora-cindral "$demo/program/"

# The game's machine-wide key names the copy, written as the registry editor exports it:
# UTF-16LE with byte-order mark, CR LF, backslashes and quotes escaped.
install_dir="$demo/game"
install_dir=${install_dir//\\/\\\\}
install_dir=${install_dir//\"/\\\"}
{
    printf '\xff\xfe'
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Orlane\\Velmora]\r\n"InstallDir"="%s"\r\n\r\n' \
        "$install_dir" | iconv -f UTF-8 -t UTF-16LE
} > "$demo/registry/HKEY_LOCAL_MACHINE.reg"

export VELMORA_REGISTRY_DIR="$demo/registry"
exec "$demo/program/velmora-cindral"
