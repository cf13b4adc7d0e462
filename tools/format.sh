#!/usr/bin/env bash
# Formats every C++ source of the repository with the style of .clang-format.
#   tools/format.sh          rewrites the files in place (the build target "format" runs this)
#   tools/format.sh --check  changes nothing; lists the files that are not formatted and fails
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t sources < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
                                       'generators/*.cpp' 'generators/*.h' 'bench/*.cpp' 'bench/*.h')
[ ${#sources[@]} -gt 0 ] || { echo "format.sh: no sources found" >&2; exit 1; }
if [ "${1:-}" = "--check" ]; then
    if ! report=$(clang-format --dry-run --Werror "${sources[@]}" 2>&1); then
        echo "Not formatted (run tools/format.sh or 'cmake --build build --target format'):" >&2
        files=$(grep -o '^[^:]*:[0-9]*:[0-9]*: error' <<<"$report" | cut -d: -f1 | sort -u)
        sed 's/^/  /' <<<"${files:-$report}" >&2
        exit 1
    fi
else
    clang-format -i "${sources[@]}"
fi
