#!/bin/sh
# Runs a command that must fail: non-zero status (exactly STATUS with --status) and exactly one
# line of output naming the cause.
# Usage: cli_failure.sh [--status STATUS] EXPECTED_TEXT COMMAND [ARGUMENTS...]
want_status=
if [ "$1" = "--status" ]; then
    want_status=$2
    shift 2
fi
expected=$1
shift
out=$("$@" 2>&1)
status=$?
echo "$out"
[ "$status" -ne 0 ] || { echo "expected a failing status"; exit 1; }
[ -z "$want_status" ] || [ "$status" -eq "$want_status" ] ||
    { echo "expected status $want_status, got $status"; exit 1; }
[ "$(printf '%s\n' "$out" | wc -l)" -eq 1 ] || { echo "expected one line"; exit 1; }
printf '%s\n' "$out" | grep -qF -- "$expected" || { echo "expected: $expected"; exit 1; }
