#!/usr/bin/env bash
# Starts and stops the Wine session that the Windows-side tests run in:
#   session.sh start STATE_DIR   an Xvfb display, the prefixes (made once) and a wineserver per prefix
#   session.sh stop STATE_DIR    ends that wineserver and that Xvfb only
# Prefixes: STATE_DIR/prefix (96 dpi) and STATE_DIR/prefix144 (144 dpi).
# Each wineserver is kept alive (-p) for the whole run: a new wineserver session starts with
# "wineboot --init", which would carry out pending restart operations before a test could look.
set -euo pipefail
action=$1
state=$(realpath -m "$2")
here=$(cd "$(dirname "$0")" && pwd)
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
    WINEPREFIX=$prefix WINEDLLOVERRIDES="mscoree,mshtml=" "$WINE64" wineboot -i >/dev/null 2>&1
    WINEPREFIX=$prefix "$WINESERVER" -w
    if [ "$dpi" != 96 ]; then
        WINEPREFIX=$prefix "$WINE64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
            /d "$dpi" /f >/dev/null 2>&1
        WINEPREFIX=$prefix "$WINE64" reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD \
            /d "$dpi" /f >/dev/null 2>&1
        WINEPREFIX=$prefix "$WINESERVER" -w
    fi
}

start_server() {  # start_server PREFIX
    WINEPREFIX=$1 "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true  # may be running already
    # The first process of the session runs the start-up wineboot; let it finish now.
    WINEPREFIX=$1 "$WINE64" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

case $action in
start)
    mkdir -p "$state"
    export DISPLAY
    start_display
    DISPLAY=$(cat "$state/display")
    make_prefix "$state/prefix" 96
    make_prefix "$state/prefix144" 144
    start_server "$state/prefix"
    start_server "$state/prefix144"
    echo "Wine session ready on display $DISPLAY"
    ;;
stop)
    for prefix in "$state/prefix" "$state/prefix144"; do
        [ -d "$prefix" ] && WINEPREFIX=$prefix "$WINESERVER" -k >/dev/null 2>&1 || true
    done
    if [ -f "$state/xvfb.pid" ]; then
        kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
        rm -f "$state/xvfb.pid" "$state/display" "$state/display.tmp"
    fi
    echo "Wine session stopped"
    ;;
*)
    echo "usage: session.sh start|stop STATE_DIR" >&2
    exit 2
    ;;
esac
