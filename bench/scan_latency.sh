#!/bin/sh
# Scan to full list in the real tool under Wine, against the simulator on
# loopback: for each fleet size, start the simulator and the tool, let the
# start-up scan settle, press "Scan" from outside (list_watch.exe), and time
# the list against packet timestamps of a capture on the loopback interface.
# Also the start-up (tool launched to first scan request on the wire) and
# the tool's peak resident memory. Everything stays on 127.0.0.1; the tool
# gets ZOVA_TARGET pointing at the simulator.
#
# Usage: scan_latency.sh [DEVICES...]   (default 100 1000 5000)
# Expects build/windows (VantrelConfig, zova, list_watch) and build/native
# (vantrel-devsim). Answers are spread over ANSWER_WINDOW_MS (default 1000),
# as a real network's arrive.
# TOOL_BIN: where VantrelConfig.exe and zova.dll come from (default this
# tree's build/windows/bin), to compare another build under the same prefix.
# CLICK_AT=ROWS: list_watch clicks the header's second column once the list
# holds ROWS rows; "click->acted" is the time until the tool sorted by it.
# REQUESTS=1: runs a wineserver of its own that logs every request, and
# counts the requests of the tool's window thread from just before "Scan"
# to the full list, per row ("requests/row"; the run itself is slower), and
# the messages posted in the tool from "Scan" until it ends (after every
# copy's answers are in), per row: all of them ("posted/row") and the
# library's notifications among them ("notify/row").
# SORT_COLUMN=C: the list is sorted by column C (ascending) before "Scan".
# CHECK_ORDER=1: once the list has settled, list_watch reads every row and
# list_order_check.exe sets them beside the full sort's order of the devices
# as their answers arrived on the wire ("order": "same", or "differs" with
# the first row that does, and the rows out of order), and counts the
# devices answered but not listed ("not listed"); "dropped" is the answers
# the kernel dropped at the tool's socket. Where it dropped a device's first
# answer, the tool took a later one, so tied rows may then stand in another
# order than the wire's, with no row out of order.
# CLICK_FULL=1: then a click on another column's heading, with every row
# listed; "full click" is the time until the tool sorted by it.
cd "$(dirname "$0")/.." || exit 1
root=$(pwd)
. "$root/bench/port-file.sh"
counts=${*:-100 1000 5000}
window=${ANSWER_WINDOW_MS:-1000}
prefix=$root/build/windows/wineprefix
bin=${TOOL_BIN:-$root/build/windows/bin}
watch=$root/build/windows/bin/list_watch.exe
check=$root/build/windows/bin/list_order_check.exe
sim=$root/build/native/bin/vantrel-devsim
for f in "$bin/VantrelConfig.exe" "$bin/zova.dll" "$watch" "$sim" ${CHECK_ORDER:+"$check"}; do
    [ -e "$f" ] || { echo "SKIP: $f not built"; exit 77; }
done

. "$root/bench/wine-session.sh"
run_wine() { "$root/cmake/wine-run.sh" "$prefix" "$@"; }
# Prefix and a lingering wineserver first, so neither is counted as start-up.
run_wine "$watch" >/dev/null 2>&1

echo "Scan to full list: tool under Wine, simulator on loopback, answers spread over $window ms${SORT_COLUMN:+, list sorted by column $SORT_COLUMN}"
printf '%8s %10s %12s %14s %16s %10s %10s' devices start-up "scan->full" "last new->full" "answers/lost" rows "peak RSS"
[ -n "$CLICK_AT" ] && printf ' %26s' "click->acted (rows then)"
[ -n "$REQUESTS" ] && printf ' %13s %11s %11s' "requests/row" "posted/row" "notify/row"
[ -n "$CLICK_FULL" ] && printf ' %10s' "full click"
[ -n "$CHECK_ORDER" ] && printf ' %8s %10s  %s' dropped "not listed" "order"
echo
watch_options=""
[ -n "$CLICK_AT" ] && watch_options="--click-at $CLICK_AT"
[ -n "$REQUESTS" ] && watch_options="$watch_options --markers"
[ -n "$SORT_COLUMN" ] && watch_options="$watch_options --sort $SORT_COLUMN"
[ -n "$CHECK_ORDER" ] && watch_options="$watch_options --dump"
[ -n "$CLICK_FULL" ] && watch_options="$watch_options --click-full"
for n in $counts; do
    if [ -n "$REQUESTS" ]; then
        WINEPREFIX=$prefix wineserver -k 2>/dev/null
        WINEPREFIX=$prefix wineserver -w 2>/dev/null
        WINEPREFIX=$prefix wineserver -f -d1 2>"$work/server.log" &
        sleep 0.5
        run_wine "$watch" >/dev/null 2>&1
    fi
    # A free loopback port for the simulator, found by letting it bind one.
    rm -f "$work/port"
    "$sim" --bind 127.0.0.1 --port 0 --port-file "$work/port" --generate 1 --log /dev/null 2>/dev/null &
    probe=$!
    port=$(wait_for_port_file "$work/port") || exit 1
    kill $probe; wait $probe 2>/dev/null
    dumpcap -q -i lo -f "udp port $port" -w "$work/scan.pcapng" 2>"$work/dumpcap.log" &
    pids="$!"
    tries=0
    until grep -q "Capturing on" "$work/dumpcap.log"; do
        tries=$((tries + 1)); [ $tries -le 100 ] || { echo "FAIL: capture did not start"; exit 1; }
        sleep 0.05
    done

    # The tool starts before the devices, so its start-up scan finds none and
    # the list is empty when "Scan" is pressed.
    launch=$(date +%s.%N)
    # Started directly, not through a function, so that $! is the process
    # that becomes the tool.
    ZOVA_TARGET=127.0.0.1:$port "$root/cmake/wine-run.sh" "$prefix" "$bin/VantrelConfig.exe" &
    toolpid=$!
    pids="$pids $toolpid"
    # Peak resident memory of the tool's process, read until it ends.
    # With CHECK_ORDER also the answers the kernel dropped at the tool's UDP
    # sockets (their receive buffers full).
    ( while kill -0 $toolpid 2>/dev/null; do
          v=$(awk '/VmHWM/ { print $2 }' /proc/$toolpid/status 2>/dev/null)
          [ -n "$v" ] && echo "$v" >"$work/peak"
          if [ -n "$CHECK_ORDER" ]; then
              inodes=" $(ls -l /proc/$toolpid/fd 2>/dev/null | sed -n 's/.*socket:\[\([0-9]*\)\]$/\1/p' | tr '\n' ' ')"
              awk -v inodes="$inodes" 'NR > 1 && index(inodes, " " $10 " ") { d += $NF } END { print d + 0 }' \
                  /proc/net/udp >"$work/drops.new" && mv "$work/drops.new" "$work/drops"
          fi
          sleep 0.2
      done ) &
    pids="$pids $!"
    # Devices come up once the start-up scan and its repeats are over.
    tries=0
    until [ "$(tshark -r "$work/scan.pcapng" 2>/dev/null | wc -l)" -ge 3 ]; do
        tries=$((tries + 1)); [ $tries -le 600 ] || { echo "FAIL: the tool sent no start-up scan"; exit 1; }
        sleep 0.1
    done
    sleep 0.5
    "$sim" --bind 127.0.0.1 --port "$port" --generate "$n" --answer-window-ms "$window" \
        --log /dev/null 2>"$work/sim.err" &
    pids="$pids $!"
    run_wine "$watch" 0 "$n" "$((120 + n / 5))" --close $watch_options >"$work/watch.txt" 2>&1
    wait $toolpid 2>/dev/null
    sleep 0.3
    for pid in $pids; do kill "$pid" 2>/dev/null; done
    for pid in $pids; do wait "$pid" 2>/dev/null; done
    pids=""

    tr -d "\r" <"$work/watch.txt" >"$work/watch.lf" && mv "$work/watch.lf" "$work/watch.txt"
    scan=$(awk '$1 == "scan" { print $2 }' "$work/watch.txt")
    full=$(awk '$1 == "full" { print $2 }' "$work/watch.txt")
    rows=$(awk '$1 == "final_rows" { print $2 }' "$work/watch.txt")
    peak=$(cat "$work/peak" 2>/dev/null)
    extra=""
    if [ -n "$CLICK_AT" ]; then
        extra=$(awk '$1 == "header_click" {
            if ($6 > 0) printf " %11.0f ms (%4d, %4d)", ($6 - $2) * 1000, $4, $8
            else printf " %26s", "not acted on" }' "$work/watch.txt")
    fi
    if [ -n "$REQUESTS" ]; then
        WINEPREFIX=$prefix wineserver -k 2>/dev/null
        WINEPREFIX=$prefix wineserver -w 2>/dev/null
        tid=$(awk '$1 == "ui_thread" { print $2 }' "$work/watch.txt")
        extra="$extra $(awk -v tid="$tid" -v n="$n" '
            /send_message\(.*msg=00000000, wparam=0005ca11/ { on = 1; posting = 1; next }
            /send_message\(.*msg=00000000, wparam=0005ca12/ { on = 0; done = 1 }
            on && index($0, tid ": ") == 1 && $2 ~ /^[a-z_]+\(/ && $0 !~ /\) = / { count++ }
            posting && /send_message\( id=.* type=6,/ { posted++; if (/msg=00000401,/) notify++ }
            END {
                if (done) printf "%13.1f %11.2f %11.2f", count / n, posted / n, notify / n
                else printf "%13s %11s %11s", "-", "-", "-"
            }' "$work/server.log")"
    fi
    if [ -n "$CLICK_FULL" ]; then
        extra="$extra $(awk '$1 == "full_click" {
            if ($6 > 0) printf "%7.0f ms", ($6 - $2) * 1000; else printf "%10s", "not acted" }' "$work/watch.txt")"
    fi
    # Requests go to the simulator's port, answers come from it; an answer's
    # MAC is its first item (tag 01, length 06) after the 8-byte header.
    rm -f "$work/arrivals"
    tshark -r "$work/scan.pcapng" -T fields -e frame.time_epoch -e udp.srcport -e udp.dstport -e data.data 2>/dev/null |
    awk -v port="$port" -v launch="$launch" -v scan="${scan:-0}" -v full="${full:-0}" -v n="$n" \
        -v rows="${rows:-?}" -v peak="${peak:-0}" -v extra="$extra" -v arrivals="$work/arrivals" '
        $3 == port && !first { first = $1 }
        $2 == port && $1 > scan && scan > 0 {
            answers++
            d = $4; gsub(":", "", d); mac = substr(d, 21, 12)
            if (!(mac in seen)) { seen[mac] = 1; distinct++; lastnew = $1; print "arrival " mac > arrivals }
        }
        END {
            startup = first ? sprintf("%.0f ms", (first - launch) * 1000) : "-"
            s2f = full > 0 ? sprintf("%.0f ms", (full - scan) * 1000) : "not full"
            l2f = full > 0 && lastnew ? sprintf("%.0f ms", (full - lastnew) * 1000) : "-"
            printf "%8d %10s %12s %14s %9d/%-6d %10s %7.0f MiB%s", n, startup, s2f, l2f, answers, n - distinct, rows, peak / 1024, extra
        }'
    if [ -n "$CHECK_ORDER" ]; then
        printf ' %8s' "$(cat "$work/drops" 2>/dev/null)"
        { cat "$work/arrivals" 2>/dev/null; grep '^row' "$work/watch.txt"; } |
            run_wine "$check" "${SORT_COLUMN:-0}" 2>/dev/null | tr -d '\r' |
            awk '{ order = $1 == "same" ? "same" : sprintf("%s from row %d, %d rows out of order", $1, $9, $7)
                   printf " %10d  %s", $3, order }'
    fi
    echo
    [ -n "$VERBOSE" ] && cat "$work/watch.txt"
done
