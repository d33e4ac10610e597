#!/bin/sh
# A trace is the same whatever the thread count: each frame's lines together, in frame-list
# order, every line with its frame number, checkout_param lines with the value handed over.
# Usage: cli_trace_order.sh PLURION SCENE FOLDER
plurion=$1
scene=$2
folder=$3
rm -rf "$folder"
mkdir -p "$folder"
fail() { echo "$*"; exit 1; }
"$plurion" render "$scene" --frames 5,0-3 --threads 1 --trace "$folder/one.jsonl" \
    -o "$folder/a_#.png" --quiet || fail "render with one thread failed"
"$plurion" render "$scene" --frames 5,0-3 --threads 4 --trace "$folder/four.jsonl" \
    -o "$folder/b_#.png" --quiet || fail "render with four threads failed"
cmp "$folder/one.jsonl" "$folder/four.jsonl" || fail "the traces differ with the thread count"
# Frame numbers in the order of the list: 5, 0, 1, 2, 3.
order=$(grep -o '"frame":[0-9.]*' "$folder/one.jsonl" | uniq | tr '\n' ' ')
[ "$order" = '"frame":5.0 "frame":0.0 "frame":1.0 "frame":2.0 "frame":3.0 ' ] ||
    fail "frames in the trace: $order"
grep -q '"function":"checkout_param","index":4,.*"value":6' "$folder/one.jsonl" ||
    fail "expected the Count of 6 in a checkout_param line"
echo "traces agree: $(wc -l <"$folder/one.jsonl") lines"
