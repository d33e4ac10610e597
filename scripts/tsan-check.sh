#!/usr/bin/env bash
# Builds the command and the effect under ThreadSanitizer (preset `tsan`) and renders frames in
# parallel, so that the frames of every clone type share the host (source cache, suites, trace)
# on several threads at once: one scene of each clone type with time offsets or motion blur, a
# sequence of picture files shown at several times (the decoded-file cache), and the built-in
# demo. Any data race fails the run. Frames are written as raw float files, which the host reads
# and writes itself (OpenImageIO is not instrumented).
# usage: scripts/tsan-check.sh [--all]   (--all: every example scene instead of one per type)
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "$(nproc)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TSAN_OPTIONS="halt_on_error=1 exitcode=66 second_deadlock_stack=1"
plurion=build-tsan/plurion

if [[ "${1:-}" == "--all" ]]; then
    scenes=(scenes/*.json)
else
    scenes=(scenes/linear_time.json scenes/radial_blur.json scenes/grid_time.json
            scenes/path_motion_blur.json scenes/object_alpha_time.json)
fi
count=0
depths=(8 16 32)
for scene in "${scenes[@]}"; do
    # Each scene at one depth, the depths taken in turn.
    "$plurion" render "$scene" --frames 0-3 --threads 4 --bpc "${depths[count % 3]}" \
        --quiet --trace "$work/trace.jsonl" -o "$work/frame_####.rgbaf"
    count=$((count + 1))
done

# Four files of a sequence, each shown by clones of several frames at once.
"$plurion" render scenes/linear_row.json --frames 0-3 --threads 2 --quiet \
    -o "$work/source_####.rgbaf"
cat >"$work/sequence.json" <<'SCENE'
{
  "composition": {"width": 320, "height": 180, "fps": 24, "frames": 8, "bpc": 16},
  "layers": [{"name": "Shot", "source": {"kind": "sequence", "path": "source_####.rgbaf",
                                         "first": 0, "last": 3}}],
  "effect": {"Clone Type": "Linear", "Linear Mode/Count": 6,
             "Linear Mode/Offset/Offset Time": 3, "Linear Mode/Random/Random Time": 2,
             "Layers/Selection/Layer 1": "Shot"}
}
SCENE
"$plurion" render "$work/sequence.json" --frames 0-3 --threads 4 --quiet \
    -o "$work/sequence_####.rgbaf"
count=$((count + 1))

"$plurion" render --frames 0-3 --threads 4 --quiet -o "$work/demo_####.rgbaf"
echo "ThreadSanitizer: $count scene renders and the demo, 4 frames at once, no data race"
