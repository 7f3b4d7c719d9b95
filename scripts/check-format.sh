#!/bin/sh
# Checks that every tracked C, C++ source and header file is formatted as the
# tree's .clang-format says; lists the files that are not. Exit status 1 then.
# Usage: scripts/check-format.sh [FILE...]   (default: every tracked file)
cd "$(dirname "$0")/.." || exit 1
if [ $# -eq 0 ]; then
    set -- $(git ls-files '*.cpp' '*.h' '*.c')
fi
status=0
for file in "$@"; do
    if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
        echo "not formatted: $file"
        status=1
    fi
done
exit $status
