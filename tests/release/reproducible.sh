#!/usr/bin/env bash
# Builds the release package of one build (the win32 or the win64 preset) twice, as a release is built:
# each time from a git checkout of its own of the commit under test (with the working tree's changes laid
# over it), in two folders with paths of different lengths and layouts, a few seconds apart and in
# different time zones. Checks that tarvolen.exe, its debug file and the zip come out byte for byte the
# same, and that the zip is a release's (tests/release/check_package.py), its members dated at the
# commit's time. Sources without .git of their own (an exported tree) are copied instead; their zip is
# dated at the fixed date that PackageStaging.cmake gives them.
#
# Usage: reproducible.sh SOURCE_DIR WORK_DIR CMAKE PRESET VERSION
set -euo pipefail
src=$(cd "$1" && pwd -P)
work=$2
cmake=$3
preset=$4
version=$5

rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)
# Build folder inside the checkout (as the presets do) in one run, beside it in the other.
src_a=$work/a/src
build_a=$work/a/src/build/$preset
src_b=$work/second-copy-with-a-longer-path/sources
build_b=$work/second-copy-with-a-longer-path/out

head=""
top=$(git -C "$src" rev-parse --show-toplevel 2>/dev/null || true)
if [ -n "$top" ] && [ "$(cd "$top" && pwd -P)" = "$src" ]; then
    head=$(git -C "$src" rev-parse HEAD)
    date=$(git -C "$src" log -1 --format=%ct HEAD)
else
    date=1704067200 # 2024-01-01 00:00:00 UTC
fi

# Lists the working tree's files that differ from the commit (changed, staged or new), NUL-separated.
changed_files() {
    (cd "$src" && { git diff -z --name-only --diff-filter=d HEAD; git ls-files -z --others --exclude-standard; })
}

copy_sources() {
    mkdir -p "$(dirname "$1")"
    if [ -n "$head" ]; then
        git clone -q --shared --no-checkout "$src" "$1"
        git -C "$1" checkout -q --detach "$head"
        changed_files | tar -C "$src" --null -T - -cf - | tar -C "$1" -xf -
        (cd "$src" && git diff -z --name-only --diff-filter=D HEAD) | (cd "$1" && xargs -0r rm -f --)
    else
        mkdir -p "$1"
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
echo "sources: ${head:+a checkout of $head, }dated $(date -u -d "@$date" '+%Y-%m-%d %H:%M:%S') UTC"
python3 "$(dirname "$0")/check_package.py" "$build_a"/tarvolen-"$version"-"$preset".zip --version "$version" \
    --license "$src/LICENSE" --date "$date" || status=1
echo "two builds took $((SECONDS - start)) s"
if [ $status -eq 0 ]; then
    rm -rf "$work"
    echo "reproducible"
else
    echo "builds kept in $work"
fi
exit $status
