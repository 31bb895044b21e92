#!/bin/sh
# Dependencies point one way; this fails, naming the line, where a file names a folder it must not use
# (an include, a script it sources or calls, a source or path in a build file, a comment), or spells it
# as a quoted string of its own, the way a path is put together from its parts (os.path.join).
#   The program: startup uses window and platform; window uses platform only; platform uses neither.
#   It uses nothing of the tests, the tools or the test harness.
#   The tools (what a user or maintainer runs) and the tests may use the harness, never each other;
#   the harness uses neither.
# Every file below those folders is looked at, scripts and sources alike.
#   check_dependencies.sh [SOURCE_DIR]
cd "${1:-.}" || exit 2
status=0
forbid() {  # forbid FOLDER NAME...: no file below FOLDER names NAME/
    folder=$1
    shift
    for name in "$@"; do
        if grep -rnIE "(^|[^A-Za-z0-9_.-])$name/|[\"']$name[\"']" "$folder"; then
            echo "^ $folder uses $name" >&2
            status=1
        fi
    done
}
forbid platform startup window tests tools harness
forbid window startup tests tools harness
forbid startup tests tools harness
forbid tools tests
forbid tests tools
forbid harness tests tools
exit $status
