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
runner32=$here/runner32.sh
# The runner serves several sessions; this one is known by its state folder.
session_name=tests-$(echo "$state" | md5sum | cut -c1-12)
source "$here/wine-env.sh"

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
    start_xvfb "$state"
    prepare_prefix "$state/prefix" 96
    prepare_prefix "$state/prefix144" 144
    start_server "$state/prefix"
    start_server "$state/prefix144"
    echo "Wine session ready on display $DISPLAY"
    ;;
stop)
    for prefix in "$state/prefix" "$state/prefix144"; do
        [ -d "$prefix" ] && WINEPREFIX=$prefix "${IN_RUNNER[@]}" "$WINESERVER" -k >/dev/null 2>&1 || true
    done
    stop_xvfb "$state"
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
