#!/bin/sh
# vantrel-cli apply against the simulator on loopback, under Wine. Everything
# stays on 127.0.0.1.
#
# 1. Plans of DEVICES devices, applied RUNS times each: one that gives every
#    device a new host name ("rename"), one that gives each a new IP address
#    too ("move", in a block of addresses of the run's own). Prints, per run,
#    the whole run, the part before the first device (program start, library
#    start, the scan, which waits its whole 2 s when addresses move), the
#    time per device while the lines are sent, and the part after the last
#    device's progress line (its result, the scan that reads every device
#    back, to the end of its 2 s when addresses moved, and the report), read
#    from the program's own progress lines as they arrive. With BEFORE_CLI
#    the runs are made with it too.
# 2. For each of LINES...: a dry run of a plan that long, of which the
#    simulator's DEVICES devices are the first lines and the rest never
#    answer, so the scan waits its whole 2 s; then the same plan with
#    --wait 0, where nothing is found and the plan's reading, checking and
#    printing are nearly all. With BEFORE_CLI=PATH (an earlier build's
#    vantrel-cli.exe, its zova.dll beside it) the dry runs are timed with it
#    too, in the same run.
#
# Usage: cli_apply.sh [DEVICES] [RUNS] [LINES...]   (default 1000 3, no dry runs)
# Expects build/windows (vantrel-cli, zova) and build/native (vantrel-devsim).
cd "$(dirname "$0")/.." || exit 1
root=$(pwd)
. "$root/bench/port-file.sh"
devices=${1:-1000}
runs=${2:-3}
[ $# -ge 2 ] && shift 2 || set --
prefix=$root/build/windows/wineprefix
cli=$root/build/windows/bin/vantrel-cli.exe
sim=$root/build/native/bin/vantrel-devsim
for f in "$cli" "$root/build/windows/bin/zova.dll" "$sim" ${BEFORE_CLI:+"$BEFORE_CLI"}; do
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

# plan LINES FILE NAME [OCTET]: generated devices are 02-6B-D4 + n; their
# own host names ("sim-…") break the host-name rule, so the plan gives each a
# new one (NAME + n), and with OCTET each an IP of its own in 10.OCTET.0.0/16
# and on, away from theirs (10.0.x.y).
plan() {
    awk -v n="$1" -v name="$3" -v octet="$4" 'BEGIN {
        printf "mac,ip,hostname\r\n"
        for (i = 1; i <= n; i++) {
            j = i - 1
            ip = octet == "" ? "" : sprintf("10.%d.%d.%d", octet + int(j / 65024),
                                            int(j / 254) % 256, j % 254 + 1)
            printf "02-6B-D4-%02X-%02X-%02X,%s,%s%d\r\n",
                int(i / 65536) % 256, int(i / 256) % 256, i % 256, ip, name, i
        }
    }' >"$2"
}
winpath() { winepath -w "$1" 2>/dev/null || echo "Z:$1" | tr / '\\'; }

planw=$(winpath "$work/plan.csv")

# Wine and its server up before the first measured run.
"$root/cmake/wine-run.sh" "$prefix" "$cli" --help >/dev/null 2>&1

echo "vantrel-cli apply, $devices devices, simulator on loopback (native), program under Wine"
printf '%-8s %-6s %4s %10s %12s %16s %15s %9s\n' build plan run "whole (s)" "to first (s)" \
    "per device (ms)" "after last (s)" done
block=102  # 10.100 and 10.101 are the long plans'
for kind in rename move; do
    for run in $(seq "$runs"); do
        for build in ${BEFORE_CLI:+before} after; do
            exe=$cli
            [ "$build" = before ] && exe=$BEFORE_CLI
            # Names (and addresses) of the run's own: a line that changes
            # nothing is not sent.
            octet=""
            [ "$kind" = move ] && { octet=$block; block=$((block + 1)); }
            plan "$devices" "$work/plan.csv" "run${run}${build}${kind}" $octet
            start=$(date +%s.%N)
            # The first and the last progress lines (standard error) stamped
            # as they arrive; the others pass unstamped.
            ZOVA_TARGET=127.0.0.1:$port "$root/cmake/wine-run.sh" "$prefix" "$exe" apply "$planw" \
                2>&1 >"$work/out.txt" | {
                    while IFS= read -r line; do
                        case $line in "["*/*"]"*) ;; *) continue ;; esac
                        k=${line%%/*} n=${line#*/}
                        k=${k#[} n=${n%%]*}
                        [ "$k" = 1 ] && date +%s.%N
                        [ "$k" = "$n" ] && { date +%s.%N; break; }
                    done
                    cat >/dev/null
                } >"$work/stamps.txt"
            end=$(date +%s.%N)
            first=$(sed -n 1p "$work/stamps.txt")
            last=$(sed -n 2p "$work/stamps.txt")
            # Lines done: accepted (before the read-back) or read back as changed.
            ok=$(tr -d '\r' <"$work/out.txt" | grep -c -e ': accepted$' -e ': changed ')
            awk -v s="$start" -v f="$first" -v l="$last" -v e="$end" -v n="$devices" -v r="$run" \
                -v b="$build" -v k="$kind" -v d="$ok" 'BEGIN {
                    printf "%-8s %-6s %4d %10.2f %12.2f %16.2f %15.2f %9d\n",
                        b, k, r, e - s, f - s, (l - f) * 1000 / (n - 1), e - l, d }'
        done
    done
done

[ $# -gt 0 ] || exit 0
echo
echo "vantrel-cli apply --dry-run of long plans, the first $devices lines the simulator's devices"
printf '%-8s %9s %9s %18s %18s %7s\n' build lines "size (MB)" "whole, 2 s scan" "whole, --wait 0" "found"
for lines in "$@"; do
    plan "$lines" "$work/long.csv" new 100
    longw=$(winpath "$work/long.csv")
    mb=$(awk -v b="$(wc -c <"$work/long.csv")" 'BEGIN { printf "%.1f", b / 1048576 }')
    for build in ${BEFORE_CLI:+before} after; do
        exe=$cli
        [ "$build" = before ] && exe=$BEFORE_CLI
        times=""
        for wait in 2 0; do
            start=$(date +%s.%N)
            ZOVA_TARGET=127.0.0.1:$port timeout 600 "$root/cmake/wine-run.sh" "$prefix" "$exe" \
                apply --dry-run --wait "$wait" "$longw" >"$work/out.txt" 2>/dev/null
            end=$(date +%s.%N)
            times="$times $(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.2f", e - s }')"
            # Lines of devices that answered: would set, or (this build) no change.
            [ "$wait" = 2 ] && found=$(tr -d '\r' <"$work/out.txt" | grep -c -e ': would set: ' -e ': no change$')
        done
        # shellcheck disable=SC2086
        printf '%-8s %9d %9s %18s %18s %7d\n' "$build" "$lines" "$mb" $times "$found"
    done
done
