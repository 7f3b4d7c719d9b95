#!/bin/sh
# Runs every benchmark in one go and prints the figures with the machine they
# come from; docs/performance.md records one such run. Benchmarks print
# figures only: nothing here passes or fails on speed.
#
# Usage: scripts/bench.sh [--quick]
#   --quick  fewer repetitions, for trying the script itself
# Needs root (or CAP_NET_ADMIN) for the DHCP run, which happens entirely
# inside network namespaces made and removed by bench/dhcp_latency.sh.
cd "$(dirname "$0")/.." || exit 1
md5_runs=9; md5_mib=128; dhcp_exchanges=30; list_counts="100 1000 5000"; fill_counts="100 1000"
if [ "$1" = "--quick" ]; then md5_runs=3; md5_mib=32; dhcp_exchanges=5; list_counts="100 1000"; fill_counts="100"; fi

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
  cmake --preset windows && cmake --build --preset windows -j2 --target VantrelConfig zova list_watch list_fill_bench; } \
    >"$log" 2>&1 || { cat "$log"; rm -f "$log"; exit 1; }
rm -f "$log"
echo "ok"
echo

echo "== MD5"
build/native/bin/md5_bench "$md5_runs" "$md5_mib"
echo

echo "== Recovery DHCP server"
bench/dhcp_latency.sh build/native/bin/dhcp_poll_server "$dhcp_exchanges"
status=$?
[ $status -eq 77 ] && echo "(skipped: no network namespaces here)"
echo

echo "== Device list"
. scripts/xvfb.sh
start_xvfb || exit 1
trap stop_xvfb EXIT
# The library never broadcasts: every program gets a target on loopback.
ZOVA_TARGET=127.0.0.1:9 timeout 1500 cmake/wine-run.sh "$(pwd)/build/windows/wineprefix" \
    build/windows/bin/list_fill_bench.exe $fill_counts
echo
bench/scan_latency.sh $list_counts
echo
