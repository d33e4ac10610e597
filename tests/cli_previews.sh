#!/bin/sh
# Previews of a render: the contact sheet tiles the frames written (thumbnails 256 pixels wide
# under a 640 x 360 composition: 256 x 144, in 2 columns and 2 rows of 4 frames with gaps of 8
# and labels of 20, so 8 + 2 x (256 + 8) = 536 by 8 + 2 x (144 + 20 + 8) = 352), and the GIF holds
# one picture per frame and loops. The labels are drawn without a warning about their font.
# Usage: cli_previews.sh PLURION SCENE FOLDER
plurion=$1 scene=$2 folder=$3
rm -rf "$folder" && mkdir -p "$folder"
fail() { echo "$*"; exit 1; }
"$plurion" render "$scene" --frames 0-9x3 -o "$folder/f_#.png" --quiet \
    --contact-sheet "$folder/sheet.png" --gif "$folder/anim.gif" 2>"$folder/stderr.txt" ||
    fail "render with previews failed: $(cat "$folder/stderr.txt")"
# The labels' font is installed with the other packages, so the sheet has its labels.
if grep -F "no labels" "$folder/stderr.txt"; then fail "the contact sheet lost its labels"; fi
sheet=$(oiiotool --info "$folder/sheet.png") || fail "no contact sheet"
echo "$sheet"
printf '%s\n' "$sheet" | grep -qF "536 x  352" || fail "expected a 536 x 352 sheet"
gif=$(oiiotool --info "$folder/anim.gif") || fail "no animation"
echo "$gif"
printf '%s\n' "$gif" | grep -qF "640 x  360, 4 channel, uint8 gif (4 subimages)" ||
    fail "expected 4 pictures of 640 x 360"
oiiotool --info -v "$folder/anim.gif" | grep -qF "gif:LoopCount: 0" ||
    fail "expected a looping animation"
# A wedge's sheet shows one cell per value.
"$plurion" render "$scene" --frames 12 --wedge "Linear Mode/Count=2..6:2" -o "$folder/w_#.png" \
    --quiet --contact-sheet "$folder/wedge.png" || fail "wedge with a sheet failed"
oiiotool --info "$folder/wedge.png" | grep -qF "536 x  352" || fail "expected a 2 x 2 wedge sheet"
echo "previews written"
