#!/bin/sh
# Runs a command that must succeed and print each of the expected texts.
# Usage: cli_output.sh "TEXT1|TEXT2|..." COMMAND [ARGUMENTS...]
expected=$1
shift
out=$("$@" 2>&1)
status=$?
echo "$out"
[ "$status" -eq 0 ] || { echo "expected success, got status $status"; exit 1; }
old_ifs=$IFS
IFS='|'
for text in $expected; do
    printf '%s\n' "$out" | grep -qF -- "$text" || { echo "expected: $text"; exit 1; }
done
IFS=$old_ifs
