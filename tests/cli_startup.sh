#!/bin/sh
# plurion --help and plurion info load no image library: OpenImageIO (and libpng) come with the
# image-file library, which only a command that reads or writes a picture file loads. The
# loader's own log (LD_DEBUG=libs) says which libraries a run loaded.
# Usage: cli_startup.sh PLURION SCENE FOLDER
plurion=$1 scene=$2 folder=$3
rm -rf "$folder" && mkdir -p "$folder"
fail() { echo "$*"; exit 1; }
loads() { grep -E "calling init: .*/lib(OpenImageIO|png|plurion_imagefiles)[^/]*$" "$1"; }
LD_DEBUG=libs "$plurion" --help >/dev/null 2>"$folder/help.txt" || fail "plurion --help failed"
if loads "$folder/help.txt"; then fail "plurion --help loaded an image library"; fi
LD_DEBUG=libs "$plurion" info >/dev/null 2>"$folder/info.txt" || fail "plurion info failed"
if loads "$folder/info.txt"; then fail "plurion info loaded an image library"; fi
# A render to PNG loads them, so the check above would see them.
LD_DEBUG=libs "$plurion" render "$scene" --frames 0 -o "$folder/still.png" --quiet \
    2>"$folder/render.txt" || fail "render failed"
loads "$folder/render.txt" | grep -q OpenImageIO || fail "a render to PNG did not load OpenImageIO"
echo "plurion --help and info start without the image libraries"
