#!/usr/bin/env bash
# Runs a fuzzer and keeps its long progress report to itself: shows libFuzzer's closing lines when the
# run passes, all of it when it fails.
#   run_fuzzer.sh FUZZER [LIBFUZZER-OPTIONS...]
set -uo pipefail
log=$(mktemp)
trap 'rm -f "$log"' EXIT
"$@" >"$log" 2>&1
status=$?
if [ "$status" -eq 0 ]; then
    grep -E '^#[0-9]+[[:space:]]+DONE|^Done [0-9]+ runs' "$log"
else
    cat "$log"
fi
exit "$status"
