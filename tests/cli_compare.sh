#!/bin/sh
# plurion compare: identical frames agree (status 0), frames 0 and 47 of a moving scene differ
# (status 3) and the folder comparison writes a difference picture per frame.
# Usage: cli_compare.sh PLURION SCENE FOLDER
plurion=$1
scene=$2
folder=$3
rm -rf "$folder"
fail() { echo "$*"; exit 1; }
"$plurion" render "$scene" --frames 0 -o "$folder/a/f.png" --quiet || fail "render failed"
"$plurion" render "$scene" --frames 0 -o "$folder/b/f.png" --quiet || fail "render failed"
"$plurion" render "$scene" --frames 47 -o "$folder/c/f.png" --quiet || fail "render failed"
out=$("$plurion" compare "$folder/a/f.png" "$folder/b/f.png")
status=$?
echo "$out"
[ "$status" -eq 0 ] || fail "identical frames: expected status 0, got $status"
printf '%s\n' "$out" | grep -qF "f.png: max 0, mean 0" || fail "expected max 0, mean 0"
out=$("$plurion" compare "$folder/a" "$folder/c" --tolerance 0.01 --diff "$folder/diff")
status=$?
echo "$out"
[ "$status" -eq 3 ] || fail "different frames: expected status 3, got $status"
printf '%s\n' "$out" | grep -qF "(above the tolerance)" || fail "expected a frame above the tolerance"
[ -f "$folder/diff/f.png" ] || fail "expected the difference picture $folder/diff/f.png"
echo "compare: agreeing and differing frames told apart"
