#!/bin/sh
# Wineserver requests per row of the device list's own fill: list_fill_bench
# under a wineserver of its own that logs every request, counting the
# requests of the dialog's thread during the AddResponse pass (from the first
# answer's step to the step after the last; one answer per trip through the
# loop, so every row is also redrawn on its own: the worst case).
#
# Usage: fill_requests.sh PREFIX LIST_FILL_BENCH_EXE [DEVICES]   (default 300)
# Prints "<requests per row> <requests of the pass> <rows>".
cd "$(dirname "$0")/.." || exit 1
prefix=$(realpath -m "$1")
exe=$2
n=${3:-300}
log=$(mktemp)
trap 'rm -f "$log"' EXIT
WINEPREFIX=$prefix wineserver -k 2>/dev/null
WINEPREFIX=$prefix wineserver -w 2>/dev/null
WINEPREFIX=$prefix wineserver -f -d1 2>"$log" &
sleep 0.5
cmake/wine-run.sh "$prefix" "$exe" "$n" >/dev/null 2>&1
WINEPREFIX=$prefix wineserver -k 2>/dev/null
WINEPREFIX=$prefix wineserver -w 2>/dev/null
# Steps run as message 0x83F0 (the scripted dialog's); step 1 adds the
# columns, steps 2 to n+1 one answer each, step n+2 counts the rows.
awk -v n="$n" '
    /get_message\(\) = 0 .*msg=000083f0/ { step++; tid = substr($0, 1, 4); next }
    step >= 2 && step <= n + 1 && substr($0, 1, 4) == tid && $2 ~ /^[a-z_]+\(/ && $0 !~ /\) = / { count++ }
    END { printf "%.1f %d %d\n", count / n, count, n }' "$log"
