#!/usr/bin/env bash
# Builds the libFuzzer targets (preset `fuzz`, clang with ASan + UBSan) and runs each for a while:
#   scene_loader_fuzz  seeded with the example scenes (scenes/)
#   image_reader_fuzz  seeded with the damaged and lying pictures (tests/data/damaged/) and the
#                      example pictures (scenes/images/)
# usage: scripts/fuzz.sh [SECONDS_EACH]   (default 30, what CI runs; scripts/fuzz.sh 600 for a
# real search). The corpora grow under build-fuzz/corpus/; a finding is written as
# build-fuzz/crash-* and fails the run. A later run starts from the grown corpora.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

run() {
    local target=$1
    shift
    local corpus=build-fuzz/corpus/$target
    local seeds=()
    for folder in "$@"; do seeds+=("../$folder"); done
    mkdir -p "$corpus"
    echo "== $target for $seconds s (seeds: $*)"
    # Leaks are checked too; memory is held to 2 GiB, as a lying header that made the reader
    # allocate gigabytes is a finding.
    (cd build-fuzz && "./fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=2048 \
        -print_final_stats=1 "../$corpus" "${seeds[@]}" 2>&1 | tail -15)
}
run scene_loader_fuzz scenes
run image_reader_fuzz tests/data/damaged scenes/images
