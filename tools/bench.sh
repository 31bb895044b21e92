#!/usr/bin/env bash
# Start-up benchmark of the release tarvolen.exe (32-bit) against floor programs that show the same box
# or window and nothing more; prints the medians, their ratio per mode, the peak working set and the
# size of the program. Needs root: the 32-bit programs run in the 32-bit runner (harness/runner32.sh).
#   bench.sh [RUNS]     RUNS runs per program and mode after a warm-up (default 21, at least 11)
# Run it on an otherwise idle machine: other work on the two cores shows up in the figures.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
runs=${1:-21}
[ "$runs" -ge 11 ] 2>/dev/null || { echo "RUNS must be a number of at least 11" >&2; exit 2; }
source tools/setup.sh
ensure_packages

# The release program and the floors (32-bit, like the release), and the driver (64-bit: it runs
# without emulation, so its polling takes little from the programs it times).
cmake --preset win32 -B build/bench-win32 -DTARVOLEN_TESTS=OFF >/dev/null
cmake --build build/bench-win32 --target tarvolen tarvolen_floor_box tarvolen_floor_window >/dev/null
cmake --preset win64 -B build/bench-win64 -DTARVOLEN_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench-win64 --target tarvolen_bench >/dev/null

bash harness/runner32.sh ensure
state=$root/build/bench
mkdir -p "$state"
export WINEPREFIX=$state/prefix
TARVOLEN_WINE_RUNNER=runner32 source harness/wine-env.sh
cleanup() {
    "${IN_RUNNER[@]}" "$WINESERVER" -k >/dev/null 2>&1 || true
    stop_xvfb "$state"
    bash harness/runner32.sh down bench
}
trap cleanup EXIT
bash harness/runner32.sh up bench "$root"

start_xvfb "$state" nice -n -10
prepare_prefix "$WINEPREFIX" 96
# One wineserver for all runs; the first program of its session runs the start-up wineboot, which
# must be over before anything is timed. The server, the driver and the programs it starts run at a
# raised priority, so that other work on the machine disturbs the timings less.
priority=(nice -n -10)
"${IN_RUNNER[@]}" "${priority[@]}" "$WINESERVER" -p >/dev/null 2>&1 || true
"${IN_RUNNER[@]}" "${priority[@]}" "$WINE64" cmd /c exit >/dev/null 2>&1 || true

windows_path() { local path; path=$(realpath "$1"); echo "Z:${path//\//\\}"; }
# TARVOLEN_BENCH_SAMPLES=1 also prints every run's times.
"${IN_RUNNER[@]}" env ${TARVOLEN_BENCH_SAMPLES:+TARVOLEN_BENCH_SAMPLES=1} "${priority[@]}" "$WINE64" "$(windows_path build/bench-win64/bin/tarvolen_bench.exe)" \
    "$(windows_path build/bench-win32/bin/tarvolen.exe)" \
    "$(windows_path build/bench-win32/bin/tarvolen_floor_box.exe)" \
    "$(windows_path build/bench-win32/bin/tarvolen_floor_window.exe)" "$runs"
