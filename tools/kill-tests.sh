#!/usr/bin/env bash
# The long round of the kill tests: every operation killed KILLS times (default 10,000) at
# random moments, then run with a file layer that fails each write in turn; prints the tally.
#   tools/kill-tests.sh [KILLS] [OPERATION...]      (default: every operation)
# A failing kill is replayed with the seed and count printed before it.
set -euo pipefail
cd "$(dirname "$0")/.."
kills=${1:-10000}
shift || true
operations=("$@")
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
nice -n 10 cmake --build build -j"$(nproc)" --target velmora_kill_driver
[ ${#operations[@]} -eq 0 ] && mapfile -t operations < <(build/bin/velmora_kill_driver --list)
status=0
for op in "${operations[@]}"; do
    build/bin/velmora_kill_driver --operation "$op" --kills "$kills" \
        --source resources/data/XMLP || status=1
    build/bin/velmora_kill_driver --operation "$op" --fail-writes \
        --source resources/data/XMLP || status=1
done
exit $status
