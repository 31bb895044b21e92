#!/usr/bin/env bash
# Builds and runs every test: the native logic tests (sanitizers), a short fuzz run of the path text
# functions, the 64-bit build under the machine's Wine, and the 32-bit release build under Wine on the
# 32-bit runner (made once, see harness/runner32.sh).
# Prints each CTest summary, the time each took, and a total.
set -uo pipefail
cd "$(dirname "$0")/.."
source tools/setup.sh
ensure_packages || exit 1

passed=0
failed=0
status=0
for preset in native fuzz win64 win32; do
    echo "=== $preset ==="
    started=$SECONDS
    log=$(mktemp)
    cmake --workflow --preset "$preset" 2>&1 | tee "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
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
# The commands and test names the README and docs/DEVELOPING.md give, against the presets' tests.
cmake --build build/native --target docs_test_names || status=1
echo "Total: $passed passed, $failed failed"
[ "$failed" -eq 0 ] || status=1
exit $status
