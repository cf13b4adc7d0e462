#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ in build-fuzz and runs each for the given time, one
# after the other, at the lowest priority:
#   tools/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]      (default: 600 s, every target)
# Seeds come from the test fixtures and the shipped data; the corpus grows in
# build-fuzz/corpus/<target>, crashes land in build-fuzz/findings/<target>/ and each run's
# log in build-fuzz/logs/<target>.log. A crash input is replayed with
#   build-fuzz/bin/<target> <input>
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
all=(XmlDocumentFuzz RegistryFileFuzz DataArchiveFuzz HelpTableFuzz BuildingIndexFuzz
     GameAssetFilterFuzz ForeignModsFuzz EditsFileFuzz EditsImportFuzz)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")

./tools/install-deps.sh
for p in clang libclang-rt-14-dev; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        SUDO=""
        [ "$(id -u)" -ne 0 ] && SUDO="sudo"
        DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$p"
    fi
done

build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B $build -DVELMORA_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
nice -n 19 cmake --build $build -j"$(nproc)" --target "${targets[@]}"

# Seeds: every fixture a reader of that kind is given in the tests.
seed() { # seed TARGET FILE...
    local target=$1
    shift
    mkdir -p "$build/seeds/$target"
    for f in "$@"; do
        cp "$f" "$build/seeds/$target/$(basename "$(dirname "$f")")-$(basename "$f")"
    done
}
rm -rf $build/seeds
shopt -s nullglob
xml_fixtures=(tests/fixtures/*/*.xml resources/data/XMLP/BuildingGroups.xml
              resources/data/XMLP/FarmField.xml)
seed XmlDocumentFuzz "${xml_fixtures[@]}"
seed RegistryFileFuzz fuzz/seeds/registry/*
seed HelpTableFuzz resources/data/XMLP/Help.xml tests/fixtures/app/*Help*.xml
seed BuildingIndexFuzz resources/data/XMLP/BuildingsShort.xml resources/data/XMLP/BuildingGroups.xml \
    tests/fixtures/data/*.xml tests/fixtures/app/*Group*.xml
seed GameAssetFilterFuzz tests/fixtures/prep-*/*.xml
seed DataArchiveFuzz tests/fixtures/app/*.zip
seed EditsFileFuzz fuzz/seeds/edits/*
seed EditsImportFuzz fuzz/seeds/edits/*
# Another mod: a split byte, a small assets.xml of ModOps, a modinfo.json.
mkdir -p "$build/seeds/ForeignModsFuzz"
{
    printf '\x08'
    printf '%-127s' "<ModOps><ModOp Path=\"//Asset[Values/Standard/GUID='1010278']\" GUID=\"1,2\"/></ModOps>"
    printf '{"ModName": {"German": "Bessere Fischer", "English": "Better"}}'
} >"$build/seeds/ForeignModsFuzz/mod.bin"
# A small archive as shipped: deflate ZIP, entries below XMLP/.
(cd resources/data && cmake -E tar cf "$OLDPWD/$build/seeds/DataArchiveFuzz/small.zip" --format=zip \
    XMLP/BuildingGroups.xml XMLP/FarmField.xml)
# The asset scanner's first byte picks the chunk size: give the seeds one.
for f in "$build"/seeds/GameAssetFilterFuzz/*; do
    { printf '\x07'; cat "$f"; } >"$f.tmp" && mv "$f.tmp" "$f"
done

max_len() {
    case $1 in
        # Short inputs keep the runs on the readers themselves; nesting beyond the document
        # layer's limit is refused with a message and tested by the ordinary tests.
        XmlDocumentFuzz|HelpTableFuzz|BuildingIndexFuzz|GameAssetFilterFuzz|ForeignModsFuzz) echo 8192 ;;
        RegistryFileFuzz) echo 16384 ;;
        DataArchiveFuzz) echo 65536 ;;
        EditsFileFuzz|EditsImportFuzz) echo 8192 ;;
    esac
}

# Fork mode with crashes ignored: a finding is saved and the target keeps running for its
# whole time.
mkdir -p $build/logs
printf '%-22s %12s %8s %s\n' target executions seconds 'oom/timeout/crash'
for t in "${targets[@]}"; do
    mkdir -p "$build/corpus/$t" "$build/findings/$t"
    started=$(date +%s)
    nice -n 19 "$build/bin/$t" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
        -max_total_time="$seconds" -max_len="$(max_len "$t")" -timeout=30 -rss_limit_mb=4096 \
        -artifact_prefix="$build/findings/$t/" "$build/corpus/$t" "$build/seeds/$t" \
        >"$build/logs/$t.log" 2>&1 || true
    last=$(grep -E '^#[0-9]+: cov' "$build/logs/$t.log" | tail -1)
    runs=$(sed -E 's/^#([0-9]+):.*/\1/' <<<"$last")
    faults=$(grep -oE 'oom/timeout/crash: [0-9/]+' <<<"$last" | cut -d' ' -f2)
    printf '%-22s %12s %8s %s\n' "$t" "${runs:-?}" "$(($(date +%s) - started))" "${faults:-?}"
done
echo "findings: $(find $build/findings -type f | wc -l) files in $build/findings"
