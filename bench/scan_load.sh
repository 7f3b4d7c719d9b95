#!/bin/sh
# Big scans against the simulator on loopback: how many devices vantrel-cli
# or the tool's window lists of DEVICES whose answers are spread over SPREAD
# seconds, how many answers the kernel dropped at the library's socket
# (its "drops" in /proc/net/udp: Linux only, which is why the library itself
# judges losses by its copies instead), and the program's peak resident
# memory. vantrel-cli waits SPREAD + 3 s (the last copy leaves after 1 s and
# its answers take up to SPREAD) and reports its exit status and the first
# line of its standard error; the window is watched until it lists every
# device or SPREAD + 180 s have passed, and "full" is the time from "Scan" to
# the last row.
#
# Usage: scan_load.sh cli|window DEVICES:SPREAD...
# TOOL_BIN: where vantrel-cli.exe, VantrelConfig.exe and zova.dll come from
# (default this tree's build/windows/bin). Expects build/windows (list_watch)
# and build/native (vantrel-devsim).
cd "$(dirname "$0")/.." || exit 1
root=$(pwd)
. "$root/bench/port-file.sh"
[ $# -ge 2 ] || { echo "usage: scan_load.sh cli|window DEVICES:SPREAD..." >&2; exit 2; }
mode=$1
shift
prefix=$root/build/windows/wineprefix
bin=${TOOL_BIN:-$root/build/windows/bin}
watch=$root/build/windows/bin/list_watch.exe
sim=$root/build/native/bin/vantrel-devsim
for f in "$bin/vantrel-cli.exe" "$bin/VantrelConfig.exe" "$watch" "$sim"; do
    [ -e "$f" ] || { echo "SKIP: $f not built"; exit 77; }
done
. "$root/bench/wine-session.sh"

# A free loopback port, found by letting the simulator bind one.
free_port() {
    rm -f "$work/port"
    "$sim" --bind 127.0.0.1 --port 0 --port-file "$work/port" --generate 1 --log /dev/null 2>/dev/null &
    probe=$!
    wait_for_port_file "$work/port" && kill $probe && wait $probe 2>/dev/null
}

# Samples, until PID ends, the peak memory of PID and the drops of the socket
# that sent the simulator's first scan (its port read from the log).
watch_process() {
    ( lport=""
      while kill -0 "$1" 2>/dev/null; do
          [ -z "$lport" ] &&
              lport=$(grep -m1 -o '"type":"scan","id":[0-9]*,"from":"127.0.0.1:[0-9]*' "$work/sim.log" 2>/dev/null | sed 's/.*://')
          if [ -n "$lport" ]; then
              d=$(awk -v p=":$(printf '%04X' "$lport")" '$2 ~ p "$" { print $NF }' /proc/net/udp)
              [ -n "$d" ] && echo "$d" >"$work/drops"
          fi
          v=$(awk '/VmHWM/ { print $2 }' "/proc/$1/status" 2>/dev/null)
          [ -n "$v" ] && echo "$v" >"$work/peak"
          sleep 0.2
      done ) &
    pids="$pids $!"
}

start_simulator() { # PORT DEVICES SPREAD_MS
    "$sim" --bind 127.0.0.1 --port "$1" --generate "$2" --answer-window-ms "$3" \
        --log "$work/sim.log" 2>"$work/sim.err" &
    pids="$pids $!"
}

stop_all() {
    for pid in $pids; do kill "$pid" 2>/dev/null; done
    for pid in $pids; do wait "$pid" 2>/dev/null; done
    pids=""
}

echo "Big scans, $mode, simulator on loopback ($(basename "$bin"): $bin)"
if [ "$mode" = cli ]; then
    printf '%8s %8s %8s %9s %7s %9s  %s\n' devices spread listed dropped status "peak RSS" "standard error"
else
    printf '%8s %8s %8s %9s %9s %9s\n' devices spread listed dropped full "peak RSS"
fi
for run in "$@"; do
    n=${run%%:*}
    spread=${run#*:}
    rm -f "$work/drops" "$work/peak" "$work/sim.log"
    echo 0 >"$work/drops"
    port=$(free_port) || exit 1
    if [ "$mode" = cli ]; then
        start_simulator "$port" "$n" $((spread * 1000))
        ZOVA_TARGET=127.0.0.1:$port "$root/cmake/wine-run.sh" "$prefix" "$bin/vantrel-cli.exe" \
            scan --wait $((spread + 3)) --format csv >"$work/out.csv" 2>"$work/err.txt" &
        cli=$!
        watch_process $cli
        wait $cli
        status=$?
        stop_all
        listed=$(($(wc -l <"$work/out.csv") - 1))
        printf '%8d %6d s %8d %9d %7d %5.0f MiB  %s\n' "$n" "$spread" "$listed" "$(cat "$work/drops")" \
            "$status" "$(($(cat "$work/peak" 2>/dev/null || echo 0) / 1024))" \
            "$(head -1 "$work/err.txt" | tr -d '\r')"
    else
        # The tool first, so that its scans find nobody until the devices
        # are up (list_watch waits for its window and presses "Scan" once;
        # that scan's last copy leaves a second later); then "Scan".
        ZOVA_TARGET=127.0.0.1:$port "$root/cmake/wine-run.sh" "$prefix" "$bin/VantrelConfig.exe" &
        tool=$!
        pids="$pids $tool"
        watch_process $tool
        "$root/cmake/wine-run.sh" "$prefix" "$watch" 0 0 30 >/dev/null 2>&1
        sleep 1.5
        start_simulator "$port" "$n" $((spread * 1000))
        "$root/cmake/wine-run.sh" "$prefix" "$watch" 0 "$n" $((spread + 180)) --close --poll-ms 100 \
            >"$work/watch.txt" 2>&1
        wait $tool 2>/dev/null
        stop_all
        tr -d '\r' <"$work/watch.txt" | awk -v n="$n" -v spread="$spread" \
            -v drops="$(cat "$work/drops")" -v peak="$(cat "$work/peak" 2>/dev/null || echo 0)" '
            $1 == "scan" { scan = $2 }
            $1 == "full" { full = $2 }
            $1 == "final_rows" { rows = $2 }
            END {
                f = full > 0 ? sprintf("%.1f s", full - scan) : "not full"
                printf "%8d %6d s %8d %9d %9s %5.0f MiB\n", n, spread, rows, drops, f, peak / 1024
            }'
    fi
done
