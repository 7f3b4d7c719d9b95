#!/bin/sh
# zova.dll under load, as scripts/bench.sh's last part or alone: the copies'
# departure under a flood of junk datagrams, the copies lost while two
# threads send (x64 and x86), and big scans through vantrel-cli and the
# tool's window (bench/scan_load.sh). Everything stays on 127.0.0.1.
#
# Usage: bench/load.sh [--quick] [--before TREE]
#   --before TREE  the same figures for another checkout's library and
#                  programs first (built here in its presets windows and
#                  windows-x86), under this tree's Wine prefixes
#   --quick        a smaller flood and fewer, smaller scans
cd "$(dirname "$0")/.." || exit 1
root=$(pwd)
before=""
flood_rate=100000; flood_seconds=3; loss_requests=1000
cli_scans="50000:10 70000:10"; window_scans="50000:30 70000:30"
while [ $# -gt 0 ]; do
    case $1 in
    --quick) flood_rate=20000; flood_seconds=1; loss_requests=200
             cli_scans="5000:2"; window_scans="5000:5" ;;
    --before) before=$(realpath "$2"); shift ;;
    esac
    shift
done

log=$(mktemp)
build() { # TREE PRESET TARGETS...
    tree=$1 preset=$2
    shift 2
    ( cd "$tree" && cmake --preset "$preset" && cmake --build --preset "$preset" -j2 --target "$@" ) \
        >"$log" 2>&1 || { cat "$log"; rm -f "$log"; exit 1; }
}
build "$root" native vantrel-devsim copy_flood
build "$root" windows VantrelConfig zova vantrel-cli list_watch copy_loss
build "$root" windows-x86 zova copy_loss
if [ -n "$before" ]; then
    echo "before: $before at $(git -C "$before" log -1 --format='%h %s' 2>/dev/null || echo "(no git history)")"
    build "$before" windows VantrelConfig zova vantrel-cli
    build "$before" windows-x86 zova
fi
rm -f "$log"
sides="$root"
[ -n "$before" ] && sides="$before $root"
label() { if [ "$1" = "$before" ]; then echo "before"; else echo "after"; fi; }
. "$root/bench/port-file.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "-- Copies under a flood of $flood_rate junk datagrams a second for $flood_seconds s"
for tree in $sides; do
    rm -f "$work/port"
    "$root/build/native/bin/copy_flood" "$work/port" "$flood_rate" "$flood_seconds" >"$work/flood" &
    flood=$!
    port=$(wait_for_port_file "$work/port") || exit 1
    ZOVA_TARGET=127.0.0.1:$port "$root/cmake/wine-run.sh" "$root/build/windows/wineprefix" \
        "$tree/build/windows/bin/vantrel-cli.exe" scan --wait $((flood_seconds + 3)) >/dev/null 2>&1
    wait $flood
    sed "s/^/$(label "$tree"): /" "$work/flood"
done
echo

echo "-- Copies lost while the caller's thread and the receiver send ($loss_requests winks, one a ms)"
for build in windows windows-x86; do
    for tree in $sides; do
        dll=$(echo "$tree/build/$build/bin/zova.dll" | tr / '\\')
        echo "$(label "$tree"), $build: $("$root/cmake/wine-run.sh" "$root/build/$build/wineprefix" \
            "$root/build/$build/bin/copy_loss.exe" "Z:$dll" "$loss_requests" 2>&1 | tr -d '\r')"
    done
done
echo

echo "-- Big scans"
for tree in $sides; do
    echo "$(label "$tree") (load average $(cut -d' ' -f1-3 /proc/loadavg)):"
    TOOL_BIN=$tree/build/windows/bin bench/scan_load.sh cli $cli_scans
    # (Wine's processes complain on standard error when the display ends.)
    TOOL_BIN=$tree/build/windows/bin bench/scan_load.sh window $window_scans 2>/dev/null
done
