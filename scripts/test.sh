#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: once in a release build
# (benchmarks included, briefly) and once under AddressSanitizer and UndefinedBehaviorSanitizer;
# then renders frames of every clone type in parallel under ThreadSanitizer, and fuzzes the
# scene loader and the picture readers briefly. Each stage prints how long it took.
set -euo pipefail
cd "$(dirname "$0")/.."

started=$SECONDS
stage_started=$SECONDS
stage() {
    local now=$SECONDS
    printf '== %s: %d s (total %d s)\n' "$1" $((now - stage_started)) $((now - started))
    stage_started=$now
}

scripts/install-deps.sh --with-windows
jobs=$(nproc)
stage "packages"

cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"
stage "release build"
ctest --preset release -j "$jobs"
stage "release tests (Windows check included)"

cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j "$jobs"
stage "sanitizer build"
# Whole frames at 8 and 32 bits here; the 16-bit run shares the 8-bit integer paths.
ctest --preset sanitize -j "$jobs" --label-exclude 'benchmark|windows|depth16'
stage "sanitizer tests"

scripts/tsan-check.sh
stage "ThreadSanitizer build and renders"
scripts/fuzz.sh
stage "fuzz build and runs"
