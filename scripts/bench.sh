#!/bin/sh
# Runs every benchmark in one go and prints the figures with the machine they
# come from; docs/performance.md records one such run. Benchmarks print
# figures only: nothing here passes or fails on speed.
#
# Usage: scripts/bench.sh [--quick] [--before TREE] [--no-netns]
#   --quick        fewer repetitions, for trying the script itself
#   --before TREE  also builds TREE (another checkout of the project, such as
#                  a worktree at an earlier commit) in its preset windows and
#                  measures its library, tool, list_fill_bench and
#                  vantrel-cli's dry runs before this tree's, in the same run,
#                  under the same Wine prefix; bench/load.sh builds its
#                  library in windows-x86 too
#   --no-netns     leaves out the DHCP run and the lossy-link scans, the two
#                  parts that make network namespaces (for a machine where
#                  others run namespace tests)
# Needs root (or CAP_NET_ADMIN) for the DHCP run and the lossy-link scans,
# which happen entirely inside network namespaces made and removed by
# bench/dhcp_latency.sh and bench/lossy_scan.sh.
cd "$(dirname "$0")/.." || exit 1
md5_runs=9; md5_mib=128; dhcp_exchanges=30; lossy_scans=20; list_counts="100 1000 5000 10000"
fill_counts="100 1000"; click_devices="1000 10000"; request_devices=1000; fill_request_rows=300
plan_devices=1000; plan_runs=3; plan_lines="25000 100000"; callback_devices=1000; callback_scans=3
column_counts="5000 10000"
before=""; netns=1; quick=""
while [ $# -gt 0 ]; do
    case $1 in
    --quick) quick=1; md5_runs=3; md5_mib=32; dhcp_exchanges=5; lossy_scans=3; list_counts="100 1000"; fill_counts="100"
             click_devices=100; request_devices=100; fill_request_rows=50; plan_devices=100
             plan_runs=1; plan_lines=25000; callback_devices=100; callback_scans=1; column_counts=100 ;;
    --before) before=$(realpath "$2"); shift ;;
    --no-netns) netns="" ;;
    esac
    shift
done

echo "== Machine"
echo "date (UTC): $(date -u '+%Y-%m-%d %H:%M')"
echo "nproc: $(nproc)"
echo "CPU: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)"
echo "memory: $(awk '/MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)"
echo "OS: $(. /etc/os-release && echo "$PRETTY_NAME"), kernel $(uname -r)"
echo "g++: $(g++ --version | head -1)"
command -v x86_64-w64-mingw32-g++-posix >/dev/null &&
    echo "MinGW g++: $(x86_64-w64-mingw32-g++-posix --version | head -1)"
[ -x /usr/lib/wine/wine64 ] && echo "Wine: $(/usr/lib/wine/wine64 --version 2>/dev/null)"
echo "OpenSSL: $(openssl version)"
echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
echo

echo "== Build (presets native and windows, both Release)"
log=$(mktemp)
{ cmake --preset native && cmake --build --preset native -j2 --target md5_bench dhcp_poll_server vantrel-devsim &&
  cmake --preset windows && cmake --build --preset windows -j2 --target VantrelConfig zova list_watch list_order_check list_fill_bench vantrel-cli lossy_scan scan_callbacks; } \
    >"$log" 2>&1 || { cat "$log"; rm -f "$log"; exit 1; }
if [ -n "$before" ]; then
    echo "before: $before at $(git -C "$before" log -1 --format='%h %s')"
    ( cd "$before" && cmake --preset windows && cmake --build --preset windows -j2 --target VantrelConfig zova list_fill_bench vantrel-cli ) \
        >"$log" 2>&1 || { cat "$log"; rm -f "$log"; exit 1; }
fi
rm -f "$log"
echo "ok"
echo

echo "== MD5"
build/native/bin/md5_bench "$md5_runs" "$md5_mib"
echo

echo "== Recovery DHCP server"
if [ -n "$netns" ]; then
    bench/dhcp_latency.sh build/native/bin/dhcp_poll_server "$dhcp_exchanges"
    [ $? -eq 77 ] && echo "(skipped: no network namespaces here)"
else
    echo "(left out: --no-netns)"
fi
echo

echo "== Scan over lossy links"
if [ -n "$netns" ]; then
    SCANS=$lossy_scans bench/lossy_scan.sh 100 1000
    [ $? -eq 77 ] && echo "(skipped: no network namespaces or nft here)"
else
    echo "(left out: --no-netns)"
fi
echo

echo "== Callbacks per device and scan"
libraries="after=build/windows/bin/zova.dll"
[ -n "$before" ] && libraries="before=$before/build/windows/bin/zova.dll $libraries"
. scripts/xvfb.sh
start_xvfb || exit 1
trap stop_xvfb EXIT
bench/scan_callbacks.sh "$callback_devices" "$callback_scans" $libraries
echo

echo "== Device list"
prefix=$(pwd)/build/windows/wineprefix
# Each figure for the earlier build first (when given), then for this one;
# both run under this tree's Wine prefix and list_watch.
sides="$(pwd)"
[ -n "$before" ] && sides="$before $sides"
label() { if [ "$1" = "$before" ]; then echo "before"; else echo "after"; fi; }
for tree in $sides; do
    echo "-- $(label "$tree"): list_fill_bench"
    ZOVA_TARGET=127.0.0.1:9 timeout 1500 cmake/wine-run.sh "$prefix" "$tree/build/windows/bin/list_fill_bench.exe" $fill_counts
done
echo
echo "Wineserver requests per row, list_fill_bench's AddResponse pass ($fill_request_rows rows, one answer per trip)"
for tree in $sides; do
    echo "$(label "$tree"): $(bench/fill_requests.sh "$prefix" "$tree/build/windows/bin/list_fill_bench.exe" $fill_request_rows |
        awk '{ printf "%s requests a row (%s over %s rows)", $1, $2, $3 }')"
done
echo
for tree in $sides; do
    echo "-- $(label "$tree"): the tool (load average $(cut -d' ' -f1-3 /proc/loadavg))"
    TOOL_BIN=$tree/build/windows/bin CHECK_ORDER=1 bench/scan_latency.sh $list_counts
    echo "Header clicked while the answers stream in, at a quarter of the rows"
    for n in $click_devices; do
        TOOL_BIN=$tree/build/windows/bin CLICK_AT=$((n / 4)) bench/scan_latency.sh "$n"
    done
    echo "Wineserver requests of the tool's window thread"
    TOOL_BIN=$tree/build/windows/bin REQUESTS=1 bench/scan_latency.sh $request_devices
    echo
done

# The list sorted by each column in turn: the devices listed after the last
# answer, a click on another heading with every row listed, and the rows set
# beside the full sort's order. The sides take turns column by column, so
# that a change in the machine's load falls on both alike.
list_every_column() {
    for column in 0 1 2 3 4 5 6; do
        for tree in $sides; do
            echo "-- $(label "$tree"), column $column (load average $(cut -d' ' -f1-3 /proc/loadavg))"
            TOOL_BIN=$tree/build/windows/bin SORT_COLUMN=$column CHECK_ORDER=1 CLICK_FULL=1 \
                bench/scan_latency.sh $column_counts
        done
    done
}
echo "== Device list, every column"
list_every_column

echo "== vantrel-cli apply"
BEFORE_CLI=${before:+$before/build/windows/bin/vantrel-cli.exe} \
    bench/cli_apply.sh "$plan_devices" "$plan_runs" $plan_lines
echo

echo "== zova.dll under load"
bench/load.sh ${quick:+--quick} ${before:+--before "$before"}
echo
echo "load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
