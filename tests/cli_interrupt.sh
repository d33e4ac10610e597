#!/bin/sh
# SIGTERM in the middle of a render: the status is 128 + 15, one line says which frames were
# written, those frames exist whole and no hidden temporary is left. A temporary left by a
# killed earlier run (its process gone) is removed, for "####" and "%04d" patterns alike; one of
# a running process is kept, as is one of another pattern.
# Usage: cli_interrupt.sh PLURION SCENE WORK_DIR
plurion=$1 scene=$2 work=$3
rm -rf "$work" && mkdir -p "$work"
touch "$work/.frame_0003.png.tmp-999999999-dead" "$work/.frame_0004.png.tmp-$$-alive"
"$plurion" render "$scene" --threads 1 -o "$work/frame_####.png" >"$work.log" 2>&1 &
pid=$!
# Stop it once its first frame is there.
tries=0
while [ ! -f "$work/frame_0000.png" ] && [ $tries -lt 600 ]; do
    sleep 0.05
    tries=$((tries + 1))
done
kill -TERM $pid
wait $pid
status=$?
out=$(cat "$work.log")
echo "$out"
[ "$status" -eq 143 ] || { echo "expected status 143, got $status"; exit 1; }
[ "$(printf '%s\n' "$out" | wc -l)" -eq 1 ] || { echo "expected one line"; exit 1; }
printf '%s\n' "$out" | grep -qE "^plurion: interrupted: [0-9]+ of [0-9]+ frames were written \(0" ||
    { echo "expected the frames written"; exit 1; }
written=$(printf '%s\n' "$out" | sed -E 's/.*interrupted: ([0-9]+) of.*/\1/')
[ "$(ls "$work" | grep -c '^frame_.*\.png$')" -eq "$written" ] || { echo "frame count differs"; exit 1; }
[ ! -e "$work/.frame_0003.png.tmp-999999999-dead" ] || { echo "stale temporary kept"; exit 1; }
[ -e "$work/.frame_0004.png.tmp-$$-alive" ] || { echo "a running process's temporary removed"; exit 1; }
[ "$(ls -A "$work" | grep -c '\.tmp-')" -eq 1 ] || { echo "temporaries left:"; ls -la "$work"; exit 1; }
# The same for a printf-style pattern: its temporaries are found by the frame number's place.
mkdir -p "$work/printf"
touch "$work/printf/.f.0002.png.tmp-999999999-dead" "$work/printf/.g.0002.png.tmp-999999999-dead"
"$plurion" render "$scene" --frames 0 --quiet -o "$work/printf/f.%04d.png" ||
    { echo "render with a %04d pattern failed"; exit 1; }
[ ! -e "$work/printf/.f.0002.png.tmp-999999999-dead" ] || { echo "stale %04d temporary kept"; exit 1; }
[ -e "$work/printf/.g.0002.png.tmp-999999999-dead" ] || { echo "another pattern's temporary removed"; exit 1; }
