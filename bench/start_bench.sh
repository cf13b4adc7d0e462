#!/usr/bin/env bash
# The start of the editor on the stand-in game beside a bare Qt Widgets window of the same size
# (bare_window), in turns, each until its window is mapped under Xvfb (the X server's MapNotify):
#   bench/start_bench.sh [RUNS]          (default 9; after cmake --build build)
# For every start: the wall time until the window is mapped, the process's CPU time and its
# peak resident memory (VmHWM) at that moment. Prints each pair and the medians with their
# ratios. The editor's first start, which unpacks the data directory, is measured separately
# (its data directory deleted before each of those starts).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-9}
editor=$root/build/bin/velmora-cindral
bare=$root/build/bin/bare_window
for p in "$editor" "$bare"; do
    [ -x "$p" ] || { echo "no $p: cmake --build build --target velmora-cindral bare_window"; exit 1; }
done
command -v xdotool >/dev/null || { echo "xdotool is missing"; exit 1; }
work=$(mktemp -d)
trap 'stop_xvfb; rm -rf "$work"' EXIT
source "$root/bench/xvfb.sh"

# The program folder (its data directory unpacked beside it) and a copy of the stand-in game.
mkdir -p "$work/program" "$work/registry"
cp "$editor" "$work/program/"
cp -r "$root/sample-game" "$work/game"
{
    printf '\xff\xfe'
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Orlane\\Velmora]\r\n"InstallDir"="%s"\r\n\r\n' \
        "$work/game" | iconv -f UTF-8 -t UTF-16LE
} >"$work/registry/HKEY_LOCAL_MACHINE.reg"
export VELMORA_REGISTRY_DIR=$work/registry
ticks=$(getconf CLK_TCK)

# measure PROGRAM: prints "wall_s cpu_s peak_MiB" once the program's window is mapped.
measure() {
    local begin end pid stat cpu peak maps
    maps=$(map_count)
    begin=$(date +%s.%N)
    "$@" >/dev/null 2>&1 &
    pid=$!
    wait_mapped "$maps" "$pid" || exit 1
    end=$(date +%s.%N)
    stat=$(cut -d' ' -f14,15 "/proc/$pid/stat")
    peak=$(awk '/^VmHWM/ { print $2 }' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    cpu=$(echo "$stat" | awk -v t="$ticks" '{ printf "%.3f", ($1 + $2) / t }')
    awk -v a="$begin" -v b="$end" -v c="$cpu" -v m="$peak" \
        'BEGIN { printf "%.3f %s %.1f\n", b - a, c, m / 1024 }'
}
median() { printf '%s\n' "$@" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
column() { local k=$1; shift; printf '%s\n' "$@" | awk -v k="$k" '{ print $k }'; }

declare -a first
for ((i = 0; i < 3; i++)); do
    rm -rf "$work/program/XMLP" "$work/registry/HKEY_CURRENT_USER.reg"
    first+=("$(measure "$work/program/velmora-cindral")")
    echo "first start (unpacking) $((i + 1)): ${first[-1]}"
done
declare -a plain editorRuns
for ((i = 0; i < runs; i++)); do
    plain+=("$(measure "$bare")")
    editorRuns+=("$(measure "$work/program/velmora-cindral")")
    echo "run $((i + 1)): bare ${plain[-1]} | editor ${editorRuns[-1]}   (wall s, cpu s, peak MiB)"
done
for k in 1 2 3; do
    b[$k]=$(median $(column "$k" "${plain[@]}"))
    e[$k]=$(median $(column "$k" "${editorRuns[@]}"))
    f[$k]=$(median $(column "$k" "${first[@]}"))
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
echo "median bare:   wall ${b[1]} s, cpu ${b[2]} s, peak ${b[3]} MiB"
echo "median editor: wall ${e[1]} s, cpu ${e[2]} s, peak ${e[3]} MiB"
echo "ratio editor/bare: wall $(ratio "${e[1]}" "${b[1]}"), cpu $(ratio "${e[2]}" "${b[2]}"), peak $(ratio "${e[3]}" "${b[3]}")"
echo "median first start (unpacking): wall ${f[1]} s, cpu ${f[2]} s, peak ${f[3]} MiB"
