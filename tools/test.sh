#!/usr/bin/env bash
# Builds and runs every test: the native logic tests (sanitizers), a short fuzz run of the path text
# functions, the 64-bit build under the machine's Wine, and the 32-bit release build under Wine on the
# 32-bit runner (made once, see harness/runner32.sh).
# Prints each CTest summary, the time each took, and a total. Ended early (Ctrl-C, kill, a CI job's
# cancel), it ends the running tests too, whose Wine session then takes back what it set up.
set -uo pipefail
cd "$(dirname "$0")/.."
source tools/setup.sh
ensure_packages || exit 1

# Each step runs in a process group of its own, so that it can be ended as a whole.
step=
end_step() {
    [ -z "$step" ] || kill -TERM -- "-$step" 2>/dev/null || true
    wait
    exit 130
}
trap end_step INT TERM HUP
run_step() {  # run_step LOG COMMAND...: the command's output to the screen and to LOG; its status
    local log=$1 status
    shift
    setsid "$@" </dev/null >"$log" 2>&1 &
    step=$!
    tail -n +1 -f --pid="$step" "$log" &
    wait "$step"
    status=$?
    wait
    step=
    return $status
}

passed=0
failed=0
status=0
for preset in native fuzz win64 win32; do
    echo "=== $preset ==="
    started=$SECONDS
    log=$(mktemp)
    run_step "$log" cmake --workflow --preset "$preset" || status=1
    summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    rm -f "$log"
    if [ -z "$summary" ]; then
        echo "$preset: no test summary (configure or build failed)"
        status=1
        continue
    fi
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
    bad=$(sed -E 's/.*, ([0-9]+) tests? failed.*/\1/' <<<"$summary")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
    echo "$preset: $summary ($((SECONDS - started)) s)"
done
# The commands and test names the documents give, and the tests of the promises they mark as tested,
# against the presets' tests and their last runs.
cmake --build build/native --target docs_test_names || status=1
# A 32-bit test run interrupted once its session is up leaves nothing of that session behind.
log=$(mktemp)
run_step "$log" cmake --build build/native --target interrupted_session_check || status=1
rm -f "$log"
echo "Total: $passed passed, $failed failed"
[ "$failed" -eq 0 ] || status=1
exit $status
