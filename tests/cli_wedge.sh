#!/bin/sh
# A wedge renders one frame per value, numbered by the value's place, each value made as a user
# edit: the file of value 50 is the file that --set of 50 writes, and the value 0 gives an empty
# frame whose message reads the edited value. --set of the default changes nothing.
# Usage: cli_wedge.sh PLURION SCENE FOLDER
plurion=$1 scene=$2 folder=$3
key="Linear Mode/Transform/Local/Scale"
rm -rf "$folder" && mkdir -p "$folder"
out=$("$plurion" render "$scene" --frames 12 --wedge "$key=0..100:50" -o "$folder/w_#.png" 2>&1) ||
    { echo "$out"; echo "wedge failed"; exit 1; }
echo "$out"
[ "$(ls "$folder")" = "$(printf 'w_0.png\nw_1.png\nw_2.png')" ] ||
    { ls "$folder"; echo "expected w_0.png, w_1.png and w_2.png"; exit 1; }
printf '%s\n' "$out" | grep -qF "rendered frame 12 of linear_row with \"$key=50\" to $folder/w_1.png" ||
    { echo "expected the value of each file"; exit 1; }
printf '%s\n' "$out" | grep -qF "every frame is empty: \"$key\" is 0" ||
    { echo "expected the empty frame of value 0 to name the edited value"; exit 1; }
"$plurion" render "$scene" --frames 12 --set "$key=50" -o "$folder/set_50.png" --quiet &&
    "$plurion" render "$scene" --frames 12 --set "$key=100" -o "$folder/set_100.png" --quiet &&
    "$plurion" render "$scene" --frames 12 -o "$folder/plain.png" --quiet ||
    { echo "render with --set failed"; exit 1; }
cmp -s "$folder/w_1.png" "$folder/set_50.png" || { echo "wedge value 50 differs from --set"; exit 1; }
cmp -s "$folder/set_100.png" "$folder/plain.png" || { echo "--set of the default changed the frame"; exit 1; }
! cmp -s "$folder/w_1.png" "$folder/w_2.png" || { echo "values 50 and 100 gave one frame"; exit 1; }
! cmp -s "$folder/w_0.png" "$folder/w_1.png" || { echo "values 0 and 50 gave one frame"; exit 1; }
echo "wedge and --set agree"
