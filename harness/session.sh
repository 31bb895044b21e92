#!/usr/bin/env bash
# Starts and stops the Wine session that the Windows-side tests run in:
#   session.sh start RUNNER STATE_DIR [DIR...]  an Xvfb display, the prefixes (made once) and a
#                                               wineserver per prefix
#   session.sh stop RUNNER STATE_DIR            ends that wineserver and that Xvfb only
# The session belongs to the process that started it (CTest). When that process ends without "stop"
# (an interrupt, a kill), a watcher left behind by "start" stops the session; a start that fails half
# way takes back what it had set up.
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

stop_session() {
    rm -f "$state/owner"
    for prefix in "$state/prefix" "$state/prefix144"; do
        [ -d "$prefix" ] && WINEPREFIX=$prefix "${IN_RUNNER[@]}" "$WINESERVER" -k >/dev/null 2>&1 || true
    done
    stop_xvfb "$state"
    if [ "$TARVOLEN_WINE_RUNNER" = runner32 ]; then
        bash "$runner32" down "$session_name"
    fi
}

# A process, told apart from a later one with the same number by its start time.
process_id() {  # process_id PID
    echo "$1 $(awk '{ sub(/^.*\) /, ""); print $20 }' "/proc/$1/stat" 2>/dev/null)"
}

case $action in
start)
    mkdir -p "$state"
    owner=$(process_id "$PPID")
    trap 'stop_session' EXIT
    trap 'exit 130' INT TERM HUP
    if [ "$TARVOLEN_WINE_RUNNER" = runner32 ]; then
        bash "$runner32" ensure
        TARVOLEN_RUNNER_OWNER=$PPID bash "$runner32" up "$session_name" "$@"
    fi
    start_xvfb "$state"
    prepare_prefix "$state/prefix" 96
    prepare_prefix "$state/prefix144" 144
    start_server "$state/prefix"
    start_server "$state/prefix144"
    echo "$owner" >"$state/owner"
    # The watcher lives apart from the run (a session of its own, no shared output), so that neither
    # an interrupt of the run nor CTest's wait for the test's output concerns it.
    setsid bash "$0" watch "$TARVOLEN_WINE_RUNNER" "$state" </dev/null >"$state/watch.log" 2>&1 &
    trap - EXIT
    echo "Wine session ready on display $DISPLAY"
    ;;
watch)
    # Until "stop" runs or the owner ends; then, if the session is still the owner's, stop it.
    owner=$(cat "$state/owner" 2>/dev/null || true)
    while [ -n "$owner" ] && [ "$(cat "$state/owner" 2>/dev/null || true)" = "$owner" ]; do
        if [ "$(process_id "${owner%% *}")" != "$owner" ]; then
            echo "the run that owned the session has ended without stopping it"
            stop_session
            break
        fi
        sleep 1
    done
    ;;
stop)
    stop_session
    echo "Wine session stopped"
    ;;
*)
    echo "usage: session.sh start|stop host|runner32 STATE_DIR [DIR...]" >&2
    exit 2
    ;;
esac
