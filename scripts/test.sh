#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: once in a release build
# (benchmarks included, briefly) and once under AddressSanitizer and UndefinedBehaviorSanitizer;
# then renders every example scene with frames in parallel under ThreadSanitizer, and fuzzes the
# scene loader and the picture readers for a minute each.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --with-windows
jobs=$(nproc)

cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"
ctest --preset release -j "$jobs"

cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j "$jobs"
ctest --preset sanitize -j "$jobs" --label-exclude 'benchmark|windows'

scripts/tsan-check.sh
scripts/fuzz.sh 60
