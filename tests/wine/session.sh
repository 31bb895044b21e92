#!/usr/bin/env bash
# Starts and stops the Wine session that the Windows-side tests run in:
#   session.sh start RUNNER STATE_DIR [DIR...]  an Xvfb display, the prefixes (made once) and a
#                                               wineserver per prefix
#   session.sh stop RUNNER STATE_DIR            ends that wineserver and that Xvfb only
# RUNNER is "host" or "runner32" (see wine-env.sh); the 32-bit runner is made if needed, and shows the
# folders DIR... (the sources and the build) inside it for the length of the session.
# Prefixes: STATE_DIR/prefix (96 dpi) and STATE_DIR/prefix144 (144 dpi), 64-bit (WoW64) both, with
# Wine's fonts.
# Each wineserver is kept alive (-p) for the whole run: a new wineserver session starts with
# "wineboot --init", which would carry out pending restart operations before a test could look.
set -euo pipefail
action=$1
export TARVOLEN_WINE_RUNNER=$2
state=$(realpath -m "$3")
shift 3
here=$(cd "$(dirname "$0")" && pwd)
runner32=$here/../../tools/runner32.sh
# The runner serves several sessions; this one is known by its state folder.
session_name=tests-$(echo "$state" | md5sum | cut -c1-12)
source "$here/wine-env.sh"

start_display() {
    if [ -s "$state/display" ] && kill -0 "$(cat "$state/xvfb.pid" 2>/dev/null)" 2>/dev/null; then
        return
    fi
    rm -f "$state/display"
    # -displayfd picks a free display number and writes it once the server accepts clients.
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$state/display.tmp" \
        </dev/null >"$state/xvfb.log" 2>&1 &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 100); do
        [ -s "$state/display.tmp" ] && break
        sleep 0.1
    done
    [ -s "$state/display.tmp" ] || { echo "Xvfb did not start" >&2; cat "$state/xvfb.log" >&2; exit 1; }
    echo ":$(tr -d '\n' <"$state/display.tmp")" >"$state/display"
}

make_prefix() {  # make_prefix DIR DPI
    local prefix=$1 dpi=$2
    [ -f "$prefix/system.reg" ] && return
    echo "creating Wine prefix $prefix ($dpi dpi)"
    rm -rf "$prefix"
    WINEPREFIX=$prefix WINEDLLOVERRIDES="mscoree,mshtml=" "${IN_RUNNER[@]}" "$WINE64" wineboot -i \
        >/dev/null 2>&1
    WINEPREFIX=$prefix "${IN_RUNNER[@]}" "$WINESERVER" -w
    if [ "$dpi" != 96 ]; then
        WINEPREFIX=$prefix "${IN_RUNNER[@]}" "$WINE64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels \
            /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
        WINEPREFIX=$prefix "${IN_RUNNER[@]}" "$WINE64" reg add 'HKCC\Software\Fonts' /v LogPixels \
            /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
        WINEPREFIX=$prefix "${IN_RUNNER[@]}" "$WINESERVER" -w
    fi
}

start_server() {  # start_server PREFIX
    WINEPREFIX=$1 "${IN_RUNNER[@]}" "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true  # may run already
    # The first process of the session runs the start-up wineboot; let it finish now.
    WINEPREFIX=$1 "${IN_RUNNER[@]}" "$WINE64" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

case $action in
start)
    mkdir -p "$state"
    if [ "$TARVOLEN_WINE_RUNNER" = runner32 ]; then
        bash "$runner32" ensure
        bash "$runner32" up "$session_name" "$@"
    fi
    export DISPLAY
    start_display
    DISPLAY=$(cat "$state/display")
    make_prefix "$state/prefix" 96
    make_prefix "$state/prefix144" 144
    add_wine_fonts "$state/prefix"
    add_wine_fonts "$state/prefix144"
    start_server "$state/prefix"
    start_server "$state/prefix144"
    echo "Wine session ready on display $DISPLAY"
    ;;
stop)
    for prefix in "$state/prefix" "$state/prefix144"; do
        [ -d "$prefix" ] && WINEPREFIX=$prefix "${IN_RUNNER[@]}" "$WINESERVER" -k >/dev/null 2>&1 || true
    done
    if [ -f "$state/xvfb.pid" ]; then
        kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
        rm -f "$state/xvfb.pid" "$state/display" "$state/display.tmp"
    fi
    if [ "$TARVOLEN_WINE_RUNNER" = runner32 ]; then
        bash "$runner32" down "$session_name"
    fi
    echo "Wine session stopped"
    ;;
*)
    echo "usage: session.sh start|stop host|runner32 STATE_DIR [DIR...]" >&2
    exit 2
    ;;
esac
