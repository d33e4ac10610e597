#!/bin/sh
# A render onto a disk that fills up: writes past a file-size limit fail (EFBIG, as a full disk
# fails them with ENOSPC), so most frames cannot be written whole. The render must stop with a
# failing status and one line naming the frame, the file and the reason, and leave only whole
# frames and no temporaries behind.
# Usage: cli_disk_full.sh PLURION SCENE WORK_DIR
plurion=$1 scene=$2 work=$3
rm -rf "$work" && mkdir -p "$work"
# Each frame of the scene is about 2 KB as PNG; 2 blocks of 512 bytes hold none of them.
out=$(sh -c 'trap "" XFSZ; ulimit -f 2; exec "$@"' sh \
    "$plurion" render "$scene" --threads 1 -o "$work/frame_####.png" 2>&1)
status=$?
echo "$out"
[ "$status" -ne 0 ] || { echo "expected a failing status"; exit 1; }
[ "$(printf '%s\n' "$out" | wc -l)" -eq 1 ] || { echo "expected one line"; exit 1; }
printf '%s\n' "$out" | grep -qF "frame 0: $work/frame_0000.png: cannot write: File too large" ||
    { echo "expected the first frame, its file and the reason"; exit 1; }
printf '%s\n' "$out" | grep -qF "no frame was written" || { echo "expected no frame written"; exit 1; }
[ -z "$(ls -A "$work")" ] || { echo "files left behind:"; ls -la "$work"; exit 1; }
