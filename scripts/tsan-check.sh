#!/usr/bin/env bash
# Builds the command and the effect under ThreadSanitizer (preset `tsan`) and renders frames of
# every example scene in parallel, at each depth, so that the frames of every clone type share the
# host (source cache, suites, trace) on several threads at once. Any data race fails the run.
# Frames are written as raw float files, which the host writes itself.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "$(nproc)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TSAN_OPTIONS="halt_on_error=1 exitcode=66 second_deadlock_stack=1"
count=0
depths=(8 16 32)
for scene in scenes/*.json; do
    # Each scene at one depth, the depths taken in turn.
    build-tsan/plurion render "$scene" --frames 0-3 --threads 4 --bpc "${depths[count % 3]}" \
        --quiet --trace "$work/trace.jsonl" -o "$work/frame_####.rgbaf"
    count=$((count + 1))
done
build-tsan/plurion render --frames 0-3 --threads 4 --quiet -o "$work/demo_####.rgbaf"
echo "ThreadSanitizer: $count scene renders and the demo, 4 frames at once, no data race"
