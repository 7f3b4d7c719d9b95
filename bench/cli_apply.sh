#!/bin/sh
# vantrel-cli apply: a plan of N devices (new IP and host name for each)
# applied against the simulator on loopback, under Wine. Prints, per run, the
# whole run, the part before the first device (program start, library start,
# the one scan), and the time per device of the rest, read from the
# program's own progress lines as they arrive. Everything stays on 127.0.0.1.
#
# Usage: cli_apply.sh [DEVICES] [RUNS]   (default 1000 3)
# Expects build/windows (vantrel-cli, zova) and build/native (vantrel-devsim).
cd "$(dirname "$0")/.." || exit 1
root=$(pwd)
. "$root/bench/port-file.sh"
devices=${1:-1000}
runs=${2:-3}
prefix=$root/build/windows/wineprefix
cli=$root/build/windows/bin/vantrel-cli.exe
sim=$root/build/native/bin/vantrel-devsim
for f in "$cli" "$root/build/windows/bin/zova.dll" "$sim"; do
    [ -e "$f" ] || { echo "SKIP: $f not built"; exit 77; }
done

work=$(mktemp -d)
simpid=""
cleanup() {
    [ -n "$simpid" ] && { kill "$simpid" 2>/dev/null; wait "$simpid" 2>/dev/null; }
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

"$sim" --bind 127.0.0.1 --port 0 --port-file "$work/port" --generate "$devices" --log /dev/null \
    2>"$work/sim.err" &
simpid=$!
port=$(wait_for_port_file "$work/port") || exit 1

# Generated devices are 02-6B-D4 + n; their own host names ("sim-…") break
# the host-name rule, so the plan gives each a new one.
awk -v n="$devices" 'BEGIN {
    printf "mac,ip,hostname\r\n"
    for (i = 1; i <= n; i++)
        printf "02-6B-D4-%02X-%02X-%02X,10.%d.%d.%d,dev%d\r\n",
            int(i / 65536) % 256, int(i / 256) % 256, i % 256,
            100 + int(i / 65536) % 100, int(i / 256) % 256, i % 250 + 1, i
}' >"$work/plan.csv"
planw=$(winepath -w "$work/plan.csv" 2>/dev/null || echo "Z:$work/plan.csv" | tr / '\\')

# Wine and its server up before the first measured run.
"$root/cmake/wine-run.sh" "$prefix" "$cli" --help >/dev/null 2>&1

echo "vantrel-cli apply, $devices devices, simulator on loopback (native), program under Wine"
printf '%4s %10s %12s %16s %10s\n' run "whole (s)" "to first (s)" "per device (ms)" accepted
for run in $(seq "$runs"); do
    start=$(date +%s.%N)
    # The first progress line (standard error) stamped as it arrives; the
    # rest drained unstamped, so the stamping costs nothing per device.
    ZOVA_TARGET=127.0.0.1:$port "$root/cmake/wine-run.sh" "$prefix" "$cli" apply "$planw" \
        2>&1 >"$work/out.txt" | {
            while IFS= read -r line; do
                case $line in "[1/"*) date +%s.%N; break ;; esac
            done
            cat >/dev/null
        } >"$work/first.txt"
    end=$(date +%s.%N)
    first=$(cat "$work/first.txt")
    accepted=$(tr -d '\r' <"$work/out.txt" | grep -c ': accepted$')
    awk -v s="$start" -v f="$first" -v e="$end" -v n="$devices" -v r="$run" -v a="$accepted" \
        'BEGIN { printf "%4d %10.2f %12.2f %16.2f %10d\n", r, e - s, f - s, (e - f) * 1000 / n, a }'
done
