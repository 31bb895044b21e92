#!/usr/bin/env bash
# Start-up benchmark of the release tarvolen.exe (32-bit) against floor programs that show the same box
# or window and nothing more; prints the medians, their ratio per mode, the peak working set and the
# size of the program. Needs root: the 32-bit programs run in the 32-bit runner (tools/runner32.sh).
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

bash tools/runner32.sh ensure
state=$root/build/bench
mkdir -p "$state"
export WINEPREFIX=$state/prefix WINEDEBUG=-all
wine64=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
xvfb=""
cleanup() {
    bash tools/runner32.sh exec "$wineserver" -k >/dev/null 2>&1 || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    bash tools/runner32.sh down bench
}
trap cleanup EXIT
bash tools/runner32.sh up bench "$root"

rm -f "$state/display"
nice -n -10 Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$state/display" >"$state/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$state/display" ] && break; sleep 0.1; done
[ -s "$state/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(tr -d '\n' <"$state/display")"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "creating the Wine prefix $WINEPREFIX (once)"
    rm -rf "$WINEPREFIX"
    WINEDLLOVERRIDES="mscoree,mshtml=" bash tools/runner32.sh exec "$wine64" wineboot -i >/dev/null 2>&1
    bash tools/runner32.sh exec "$wineserver" -w
fi
TARVOLEN_WINE_RUNNER=runner32 source tests/wine/wine-env.sh
add_wine_fonts "$WINEPREFIX"
# One wineserver for all runs; the first program of its session runs the start-up wineboot, which
# must be over before anything is timed. The server, the driver and the programs it starts run at a
# raised priority, so that other work on the machine disturbs the timings less.
priority=(nice -n -10)
bash tools/runner32.sh exec "${priority[@]}" "$wineserver" -p >/dev/null 2>&1 || true
bash tools/runner32.sh exec "${priority[@]}" "$wine64" cmd /c exit >/dev/null 2>&1 || true

windows_path() { local path; path=$(realpath "$1"); echo "Z:${path//\//\\}"; }
# TARVOLEN_BENCH_SAMPLES=1 also prints every run's times.
bash tools/runner32.sh exec env ${TARVOLEN_BENCH_SAMPLES:+TARVOLEN_BENCH_SAMPLES=1} "${priority[@]}" "$wine64" "$(windows_path build/bench-win64/bin/tarvolen_bench.exe)" \
    "$(windows_path build/bench-win32/bin/tarvolen.exe)" \
    "$(windows_path build/bench-win32/bin/tarvolen_floor_box.exe)" \
    "$(windows_path build/bench-win32/bin/tarvolen_floor_window.exe)" "$runs"
