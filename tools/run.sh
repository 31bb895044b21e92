#!/usr/bin/env bash
# Builds tarvolen.exe (64-bit, the build this machine can run) and starts it under Wine.
#   run.sh            opens the window
#   run.sh FILE       deletion mode for FILE
#   run.sh --pictures retakes the README's pictures: docs/screenshot.png (the window) and
#                     docs/confirmation.png (deletion mode's first box, for a sample file in the prefix)
# With no display, or for the pictures, it runs under its own Xvfb, saves a screenshot of the first
# window (build/win64/screenshot.png without --pictures) and closes the program again, unanswered, so
# no file is removed.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/setup.sh
ensure_packages
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target tarvolen >/dev/null
source harness/wine-env.sh

state=$(pwd)/build/win64/run
export WINEPREFIX=$state/prefix
mkdir -p "$state"
# Wine draws the window frame itself, so screenshots show the caption.
prepare_prefix "$WINEPREFIX" 96 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f

exe=build/win64/bin/tarvolen.exe

# A Linux path given as FILE is handed over as the Windows path Wine maps it to. This runs once the
# display is known: the first Wine program of a session starts the desktop on the display it finds.
convert_args() {
    args=()
    if [ $# -gt 0 ]; then
        target=$1
        [ -e "$target" ] && target=$(realpath "$target")
        case $target in
            /*) args=("$("$WINE64" winepath -w "$target" 2>/dev/null)") ;;
            *) args=("$target") ;;
        esac
    fi
}

# Runs the program on a display of its own and saves a picture of its first window into PICTURE.
take_picture() {  # take_picture PICTURE [FILE]
    local picture=$1 program window=""
    shift
    start_xvfb "$state"
    trap 'WINEPREFIX=$WINEPREFIX "$WINESERVER" -k 2>/dev/null || true; stop_xvfb "$state"' EXIT
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    convert_args "$@"
    "$WINE64" "$exe" "${args[@]}" &
    program=$!
    for _ in $(seq 200); do
        window=$(xwininfo -root -children 2>/dev/null | grep -E '"(Tarvolen|Fehler)' | awk '{print $1}' | head -n 1 || true)
        [ -n "$window" ] && break
        sleep 0.1
    done
    if [ -z "$window" ]; then
        echo "No window appeared." >&2
        exit 1
    fi
    sleep 1
    import -window "$window" "$picture"
    # The program ends without an answer to anything it asked.
    "$WINESERVER" -k 2>/dev/null || true
    wait "$program" || true
    stop_xvfb "$state"
    trap - EXIT
    echo "Screenshot saved: $picture"
}

if [ "${1:-}" = --pictures ]; then
    take_picture docs/screenshot.png
    sample="$WINEPREFIX/drive_c/Temp/old setup.log"
    mkdir -p "$(dirname "$sample")"
    echo "a file to be deleted" >"$sample"
    take_picture docs/confirmation.png 'C:\Temp\old setup.log'
    [ -f "$sample" ] || { echo "The sample file was removed." >&2; exit 1; }
    exit 0
fi

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    convert_args "$@"
    exec "$WINE64" "$exe" "${args[@]}"
fi

# No display: run it on a virtual one and take a picture.
take_picture build/win64/screenshot.png "$@"
