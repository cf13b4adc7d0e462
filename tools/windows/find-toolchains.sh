#!/usr/bin/env bash
# Prints the folder that holds qt6.4.2-mingw-w64-static.tar.xz, or fails: $VELMORA_TOOLCHAINS,
# else ../shared/toolchains beside the repository, else the same beside the repository this one
# was cloned from (a clean clone elsewhere, as CI makes, still finds the team's toolchains).
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
archive=qt6.4.2-mingw-w64-static.tar.xz
candidates=("${VELMORA_TOOLCHAINS:-}" "$root/../shared/toolchains")
origin=$(git -C "$root" remote get-url origin 2>/dev/null || true)
[ -n "$origin" ] && [ -d "$origin" ] && candidates+=("$origin/../shared/toolchains")
for dir in "${candidates[@]}"; do
    if [ -n "$dir" ] && [ -f "$dir/$archive" ]; then
        (cd "$dir" && pwd)
        exit 0
    fi
done
exit 1
