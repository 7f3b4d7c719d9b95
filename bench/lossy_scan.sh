#!/bin/sh
# Scans over lossy links: the real zova.dll (bench/LossyScan.cpp under Wine,
# without ZOVA_TARGET) in a host namespace with two veth adapters, each
# leading to a device namespace where a simulator plays half the devices on
# the device port. nftables drops a share of the UDP datagrams arriving in
# every namespace, so requests and answers are lost on both links in both
# directions (this kernel has no netem). For each fleet size and loss, prints
# the share of devices listed after one scan and the time to the last new
# device. Every namespace is made here and removed on exit, also on failure;
# every program that sends runs inside them (ip netns exec).
#
# Usage: lossy_scan.sh [DEVICES...]   (default 100 1000; even numbers)
# LOSSES (default "1 10 30", percent per datagram), SCANS (default 20 scans
# a run), ANSWER_WINDOW_MS (default 500).
# Exit 77 when namespaces cannot be made here.
cd "$(dirname "$0")/.." || exit 1
root=$(pwd)
. "$root/tests/dhcp/netns-common.sh"
counts=${*:-100 1000}
losses=${LOSSES:-1 10 30}
window=${ANSWER_WINDOW_MS:-500}
# Longer than the last repeat (1,000 ms) plus the answer window: every
# answer of a scan is in before the next scan.
scan_ms=$((1900 + window))
bench=$root/build/windows/bin/lossy_scan.exe
sim=$root/build/native/bin/vantrel-devsim
for f in "$bench" "$root/build/windows/bin/zova.dll" "$sim"; do
    [ -e "$f" ] || { echo "SKIP: $f not built"; exit 77; }
done
command -v nft >/dev/null || { echo "SKIP: nft missing (scripts/setup.sh installs nftables)"; exit 77; }

host=vlossy-h-$$
ns_add "$host"
ns_add vlossy-a-$$
ns_add vlossy-b-$$
ns_link "$host" vlossy-a-$$ a 10.201.1
ns_link "$host" vlossy-b-$$ b 10.202.1

# drop NS PERCENT: UDP datagrams arriving in NS from its veth, dropped at random.
drop() {
    ip netns exec "$1" nft delete table inet lossy 2>/dev/null
    ip netns exec "$1" nft -f - <<RULES
table inet lossy {
    chain input {
        type filter hook input priority 0; policy accept;
        iifname != "lo" meta l4proto udp counter
        iifname != "lo" meta l4proto udp numgen random mod 100 < $2 counter drop
    }
}
RULES
}

unset ZOVA_TARGET
export VANTREL_NETNS="$host"
wine_server_in "$host" "$root/build/windows/wineprefix-netns" "$root/cmake/wine-run.sh"
echo "Scan over lossy links: real zova.dll, two adapters, devices split over both, answers spread over $window ms"
for n in $counts; do
    scans=${SCANS:-20}
    sims=""
    prefix=02-6B-D4
    for side in a b; do
        rm -f "$NS_TMP/$side.port"
        ip netns exec "vlossy-$side-$$" "$sim" --bind 0.0.0.0 --port 17400 --in-test-namespace \
            --generate $((n / 2)) --prefix "$prefix" --answer-window-ms "$window" \
            --port-file "$NS_TMP/$side.port" --log /dev/null 2>"$NS_TMP/$side.err" &
        ns_track $!
        sims="$sims $!"
        prefix=02-6B-D5
    done
    for side in a b; do
        for _ in $(seq 100); do [ -s "$NS_TMP/$side.port" ] && break; sleep 0.1; done
        [ -s "$NS_TMP/$side.port" ] || { echo "FAIL: simulator $side did not start"; cat "$NS_TMP/$side.err"; exit 1; }
    done
    for loss in $losses; do
        for ns in "$host" vlossy-a-$$ vlossy-b-$$; do drop "$ns" "$loss"; done
        printf '%5s devices, %2s %% loss per link and direction: ' "$n" "$loss"
        ip netns exec "$host" "$root/cmake/wine-run.sh" "$WINEPREFIX" "$bench" "$n" "$scans" "$scan_ms" 2>&1
        # What the rules did: datagrams arrived from the veths, and dropped.
        for ns in "$host" vlossy-a-$$ vlossy-b-$$; do ip netns exec "$ns" nft list table inet lossy; done |
            awk '/counter packets/ { for (i = 1; i < NF; ++i) if ($i == "packets") n[++k % 2] += $(i + 1) }
                 END { printf "       (dropped %d of %d UDP datagrams arriving over the veths, %.1f %%)\n",
                       n[0], n[1], n[1] ? 100 * n[0] / n[1] : 0 }'
    done
    for pid in $sims; do kill "$pid"; done
    for pid in $sims; do wait "$pid" 2>/dev/null; done
done
