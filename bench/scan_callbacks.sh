#!/bin/sh
# Callbacks and answers per device and scan through zova.dll, against the
# simulator on loopback with answers spread over ANSWER_WINDOW_MS (default
# 1000), for each library given: the same program loads each in turn, each
# against a simulator of its own.
#
# Usage: scan_callbacks.sh DEVICES SCANS LABEL=DLL...
# Expects build/windows (scan_callbacks) and build/native (vantrel-devsim).
cd "$(dirname "$0")/.." || exit 1
root=$(pwd)
. "$root/bench/port-file.sh"
[ $# -ge 3 ] || { echo "usage: scan_callbacks.sh DEVICES SCANS LABEL=DLL..." >&2; exit 2; }
devices=$1
scans=$2
shift 2
window=${ANSWER_WINDOW_MS:-1000}
prefix=$root/build/windows/wineprefix
program=$root/build/windows/bin/scan_callbacks.exe
sim=$root/build/native/bin/vantrel-devsim
for f in "$program" "$sim"; do
    [ -e "$f" ] || { echo "SKIP: $f not built"; exit 77; }
done
work=$(mktemp -d)
simpid=""
cleanup() {
    [ -n "$simpid" ] && kill "$simpid" 2>/dev/null && wait "$simpid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

echo "One scan's cost per device: $devices devices on loopback, answers spread over $window ms, $scans scans each"
for side in "$@"; do
    label=${side%%=*}
    dll=${side#*=}
    rm -f "$work/port"
    "$sim" --bind 127.0.0.1 --port 0 --port-file "$work/port" --generate "$devices" \
        --answer-window-ms "$window" --log /dev/null 2>"$work/sim.err" &
    simpid=$!
    port=$(wait_for_port_file "$work/port") || exit 1
    # The last copy leaves 1 s after the first; its answers need the window.
    ZOVA_TARGET=127.0.0.1:$port "$root/cmake/wine-run.sh" "$prefix" "$program" \
        "Z:$(realpath "$dll" | tr / '\\')" "$devices" "$scans" "$((1500 + window))" 2>&1 |
        tr -d '\r' | sed "s/^/$label: /"
    kill "$simpid"; wait "$simpid" 2>/dev/null
    simpid=""
done
