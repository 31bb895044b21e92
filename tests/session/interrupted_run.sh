#!/usr/bin/env bash
# A test run of the Windows side that is interrupted takes back what its session set up: this starts
# the tests of a build folder, interrupts them (SIGINT to the run's process group) once the session is
# up and a test runs, and then finds no trace of that session: no Xvfb, wineserver or other process
# that names its folder, no user of its own registered with the 32-bit runner, and, when no other
# session uses the runner, no binfmt_misc entry tarvolen-i386 and no mount under the runner's folder.
#   interrupted_run.sh BUILD_DIR       (as root; BUILD_DIR of the win32 preset, tests already built)
set -euo pipefail
build=$(realpath "$1")
state=$build/wine
runner=${TARVOLEN_RUNNER32:-/var/cache/tarvolen/runner32}
entry=/proc/sys/fs/binfmt_misc/tarvolen-i386
# The session's name with the runner is made from its folder, as the session script makes it.
name=tests-$(echo "$state" | md5sum | cut -c1-12)
log=$build/interrupted-run.log

other_users() {  # the runner's users other than this session
    ls -A "$runner/users" 2>/dev/null | grep -vxF "$name" || true
}
session_processes() {  # processes other than this script's that name the session's folder
    local dir pid
    for dir in /proc/[0-9]*; do
        pid=${dir#/proc/}
        [ "$pid" != $$ ] && [ "$pid" != "$BASHPID" ] || continue
        if tr '\0' '\n' 2>/dev/null <"$dir/environ" | grep -qF "$state" ||
            tr '\0' ' ' 2>/dev/null <"$dir/cmdline" | grep -qF "$state"; then
            echo "$pid $(tr '\0' ' ' 2>/dev/null <"$dir/cmdline" | cut -c1-100)"
        fi
    done
}
# What of the session is still there, a line each; nothing once it is taken back.
leftovers() {
    session_processes | sed 's/^/process /'
    [ -z "$xvfb" ] || ! kill -0 "$xvfb" 2>/dev/null || echo "Xvfb $xvfb"
    [ ! -e "$runner/users/$name" ] || echo "user $name of the runner"
    if [ -z "$(other_users)" ]; then
        [ ! -e "$entry" ] || echo "binfmt_misc entry $entry"
        awk -v root="$runner/" 'index($2, root) == 1 { print "mount " $2 }' /proc/mounts
    fi
}

before=$(other_users)
[ -z "$before" ] || echo "other sessions use the runner ($before): its entry and mounts are theirs, not checked"
[ -z "$(session_processes)" ] || { echo "a session of $state runs already"; session_processes; exit 1; }

# The run in a process group of its own, as a terminal's Ctrl-C reaches it (a command started in the
# background of a script ignores SIGINT unless told otherwise).
setsid env --default-signal=INT ctest --test-dir "$build" --timeout 600 </dev/null >"$log" 2>&1 &
run=$!
xvfb=
for _ in $(seq 900); do
    grep -q 'wine\.session\.start .*Passed' "$log" && break
    kill -0 "$run" 2>/dev/null || break
    sleep 1
done
grep -q 'wine\.session\.start .*Passed' "$log" || { echo "the session did not start"; tail -n 20 "$log"; exit 1; }
[ -e "$runner/users/$name" ] && [ -e "$entry" ] || { echo "the session is up but not on the runner"; exit 1; }
xvfb=$(cat "$state/xvfb.pid")
sleep 5
echo "session up (Xvfb $xvfb); SIGINT to the run's process group $run"
kill -INT -- "-$run"
for _ in $(seq 60); do
    kill -0 "$run" 2>/dev/null || break
    sleep 1
done
! kill -0 "$run" 2>/dev/null || { echo "the run did not end on SIGINT"; exit 1; }
# Taking back may go on a little after the run has ended.
for _ in $(seq 60); do
    [ -n "$(leftovers)" ] || break
    sleep 1
done
left=$(leftovers)
if [ -n "$left" ]; then
    echo "left behind by the interrupted run:"
    echo "$left"
    exit 1
fi
echo "the interrupted run left nothing behind"
