#!/bin/sh
# The C and C++ code is formatted as .clang-format says; this fails, naming each place clang-format would
# change. In a git checkout the files are the tracked ones and the new ones git does not ignore; in a tree
# without .git, every C or C++ file outside build/.
#   check_format.sh CLANG_FORMAT [SOURCE_DIR]
clang_format=$1
cd "${2:-.}" || exit 2
if [ -e .git ]; then
    files=$(git ls-files --cached --others --exclude-standard -- '*.c' '*.cc' '*.cpp' '*.h' '*.hpp')
else
    files=$(find . -path ./build -prune -o -type f \( -name '*.c' -o -name '*.cc' -o -name '*.cpp' -o \
        -name '*.h' -o -name '*.hpp' \) -print)
fi
[ -n "$files" ] || { echo "no C or C++ files found" >&2; exit 2; }
# Names hold no spaces (the layout keeps to plain names), so the list splits on white space.
# shellcheck disable=SC2086
"$clang_format" --style=file --dry-run -Werror $files || exit 1
echo "$(echo "$files" | wc -l) files formatted as .clang-format says ($("$clang_format" --version))"
