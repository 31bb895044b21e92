#!/usr/bin/env bash
# Builds the release package of one build (the win32 or the win64 preset) twice from a copy of the
# working tree, in two folders with paths of different lengths and layouts, a few seconds apart and in
# different time zones, and checks that tarvolen.exe, its debug file and the zip come out byte for byte
# the same, and that the zip holds the five files of a release.
#
# Usage: reproducible.sh SOURCE_DIR WORK_DIR [CMAKE [PRESET]]
set -euo pipefail
src=$(cd "$1" && pwd)
work=$2
cmake=${3:-cmake}
preset=${4:-win32}

rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)
# Build folder inside the copied sources (as the presets do) in one run, beside them in the other.
src_a=$work/a/src
build_a=$work/a/src/build/$preset
src_b=$work/second-copy-with-a-longer-path/sources
build_b=$work/second-copy-with-a-longer-path/out

# The files git knows about or would pick up, as they are in the working tree now.
copy_sources() {
    mkdir -p "$1"
    if git -C "$src" rev-parse --git-dir >/dev/null 2>&1; then
        git -C "$src" ls-files -z --cached --others --exclude-standard |
            (cd "$src" && xargs -0 sh -c 'for f; do [ -f "$f" ] && printf "%s\0" "$f"; done' sh) |
            tar -C "$src" --null -T - -cf - | tar -C "$1" -xf -
    else
        tar -C "$src" --exclude=./build --exclude=./.git -cf - . | tar -C "$1" -xf -
    fi
}

build() { # SOURCE BUILD TZ UMASK
    mkdir -p "$(dirname "$2")"
    (
        cd "$1"
        unset SOURCE_DATE_EPOCH
        export TZ=$3
        umask "$4"
        "$cmake" --preset "$preset" -B "$2" -DTARVOLEN_TESTS=OFF >"$2.log" 2>&1 &&
            "$cmake" --build "$2" --target package --parallel 2 >>"$2.log" 2>&1
    ) || { echo "build in $2 failed:"; tail -n 30 "$2.log"; exit 1; }
}

start=$SECONDS
copy_sources "$src_a"
copy_sources "$src_b"
build "$src_a" "$build_a" UTC0 022
sleep 2 # a different second, and a different two-second step of the zip's DOS time
build "$src_b" "$build_b" JST-9 027

status=0
for file in bin/tarvolen.exe bin/tarvolen.exe.debug tarvolen-*-"$preset".zip; do
    a=$(cd "$build_a" && sha256sum $file)
    b=$(cd "$build_b" && sha256sum $file)
    echo "first:  $a"
    echo "second: $b"
    if [ "$a" != "$b" ]; then
        echo "DIFFERENT: $file"
        status=1
    fi
done
expected=$'LICENSE.txt\nREADME.txt\nSHA256SUMS\nTHIRD-PARTY-NOTICES.txt\ntarvolen.exe'
listed=$(cd "$build_a" && "$cmake" -E tar tf tarvolen-*-"$preset".zip | LC_ALL=C sort)
if [ "$listed" != "$(LC_ALL=C sort <<<"$expected")" ]; then
    echo "the zip holds:"
    echo "$listed"
    status=1
fi
echo "two builds took $((SECONDS - start)) s"
if [ $status -eq 0 ]; then
    rm -rf "$work"
    echo "reproducible"
else
    echo "builds kept in $work"
fi
exit $status
