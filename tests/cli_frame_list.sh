#!/bin/sh
# --frames 1,5,9 with a %04d pattern writes exactly those three files; --bpc 32 into PNG warns
# that 16-bit samples are written.
# Usage: cli_frame_list.sh PLURION SCENE FOLDER
plurion=$1
scene=$2
folder=$3
rm -rf "$folder"
out=$("$plurion" render "$scene" --frames 1,5,9 --bpc 32 -o "$folder/f_%04d.png" --quiet 2>&1) ||
    { echo "$out"; echo "render failed"; exit 1; }
echo "$out"
[ "$(ls "$folder")" = "$(printf 'f_0001.png\nf_0005.png\nf_0009.png')" ] ||
    { ls -a "$folder"; echo "expected f_0001.png, f_0005.png and f_0009.png only"; exit 1; }
printf '%s\n' "$out" | grep -qF "png holds at most 16-bit samples; the 32-bit frames are written as 16-bit" ||
    { echo "expected a depth warning"; exit 1; }
