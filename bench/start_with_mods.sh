#!/usr/bin/env bash
# The start of the editor until its main window is mapped under Xvfb, with an empty mods
# directory and with the 5,000 generated mod folders of conflicts_bench, in turns:
#   bench/start_with_mods.sh [RUNS]      (after cmake --build build; conflicts_bench made the folders)
# Prints each start's wall time and the medians. The other mods are read after the window shows,
# so both should start alike.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-7}
program=$root/build/bin/velmora-cindral
folders=$root/build/bench-data/mods-5000
[ -d "$folders" ] || { echo "no $folders: run build/bin/conflicts_bench first"; exit 1; }
work=$(mktemp -d)
trap 'stop_xvfb; rm -rf "$work"' EXIT
source "$root/bench/xvfb.sh"

# One program folder (its data directory unpacked by a first start) and two games that differ
# only in their mods directory.
mkdir -p "$work/program" "$work/registry"
cp "$program" "$work/program/"
for game in empty full; do
    mkdir -p "$work/$game/Bin/Win64"
    cp "$root/sample-game/Bin/Win64/Velmora.exe" "$work/$game/Bin/Win64/"
done
mkdir -p "$work/empty/mods"
ln -s "$folders" "$work/full/mods"
start() { # start GAME: prints the seconds until the main window is mapped
    {
        printf '\xff\xfe'
        printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Orlane\\Velmora]\r\n"InstallDir"="%s"\r\n\r\n' \
            "$work/$1" | iconv -f UTF-8 -t UTF-16LE
    } > "$work/registry/HKEY_LOCAL_MACHINE.reg"
    rm -f "$work/registry/HKEY_CURRENT_USER.reg"
    local begin end pid maps
    maps=$(map_count)
    begin=$(date +%s.%N)
    VELMORA_REGISTRY_DIR=$work/registry "$work/program/velmora-cindral" >/dev/null 2>&1 &
    pid=$!
    wait_mapped "$maps" "$pid" || exit 1
    end=$(date +%s.%N)
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    awk -v a="$begin" -v b="$end" 'BEGIN { printf "%.3f\n", b - a }'
}
start empty >/dev/null # unpacks the data directory
declare -a empty full
for ((i = 0; i < runs; i++)); do
    empty+=("$(start empty)")
    full+=("$(start full)")
    echo "run $((i + 1)): empty ${empty[-1]} s, 5000 mods ${full[-1]} s"
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }
echo "median: empty $(median "${empty[@]}") s, 5000 mods $(median "${full[@]}") s"
