#!/bin/sh
# DISCOVER-to-OFFER latency of the recovery server, as the tool's worker runs
# it (Poll, then 50 ms sleep), against busybox udhcpc. Server and client live
# in two network namespaces made here and joined by a veth pair; both are
# removed on exit, also on failure, so nothing leaves the machine. Times come
# from packet timestamps of a capture on the server's end of the veth.
#
# Usage: dhcp_latency.sh SERVER_PROGRAM [EXCHANGES]   (EXCHANGES 1 to 200)
# Exit 77 when namespaces cannot be made here.
server_program=$1
exchanges=${2:-30}
if [ ! -x "$server_program" ] || [ "$exchanges" -lt 1 ] || [ "$exchanges" -gt 200 ]; then
    echo "usage: dhcp_latency.sh SERVER_PROGRAM [EXCHANGES 1..200]" >&2
    exit 2
fi
for tool in busybox dumpcap tshark ethtool; do
    command -v $tool >/dev/null || { echo "SKIP: $tool missing"; exit 77; }
done

srv=vbench-srv-$$
cli=vbench-cli-$$
work=$(mktemp -d)
pids=""
made=""
cleanup() {
    for pid in $pids; do kill "$pid" 2>/dev/null; done
    for pid in $pids; do wait "$pid" 2>/dev/null; done
    for ns in $made; do ip netns del "$ns" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

for ns in $srv $cli; do
    ip netns add "$ns" 2>/dev/null || { echo "SKIP: cannot create network namespaces here"; exit 77; }
    made="$made $ns"
    ip -n "$ns" link set lo up
done
set -e
ip -n "$srv" link add v0 type veth peer name v1 netns "$cli"
ip -n "$srv" addr add 10.200.1.254/24 dev v0
# A MAC of the supported family: the server offers 10.200.1.42.
ip -n "$cli" link set v1 address 02:6b:d4:00:00:2a
ip -n "$srv" link set v0 up
ip -n "$cli" link set v1 up
ip -n "$srv" route add 255.255.255.255 dev v0
ip netns exec "$srv" ethtool -K v0 tx off >/dev/null
ip netns exec "$cli" ethtool -K v1 tx off >/dev/null

ip netns exec "$srv" dumpcap -q -i v0 -f "udp port 67 or udp port 68" -w "$work/dhcp.pcapng" 2>"$work/dumpcap.log" &
pids="$pids $!"
ip netns exec "$srv" "$server_program" $((exchanges * 4 + 20)) >"$work/server.log" 2>&1 &
pids="$pids $!"
# Both up: the server says "ready", the capture names its interface.
tries=0
until grep -q ready "$work/server.log" && grep -q "Capturing on" "$work/dumpcap.log"; do
    tries=$((tries + 1))
    [ $tries -le 50 ] || { echo "FAIL: server or capture did not start"; cat "$work/server.log" "$work/dumpcap.log"; exit 1; }
    sleep 0.1
done
set +e

# The client script takes no action: every exchange starts from the same
# unconfigured interface.
printf '#!/bin/sh\nexit 0\n' >"$work/udhcpc.script"
chmod +x "$work/udhcpc.script"
leases=0
i=0
while [ $i -lt "$exchanges" ]; do
    i=$((i + 1))
    # A random pause first: exchanges run back to back would otherwise each
    # start at the same phase of the server's 50 ms poll cycle.
    sleep "$(printf '0.%03d' $(($(od -An -N2 -tu2 /dev/urandom) % 100)))"
    if timeout 10 ip netns exec "$cli" busybox udhcpc -i v1 -n -q -f -t 3 -T 1 \
            -s "$work/udhcpc.script" >/dev/null 2>&1; then
        leases=$((leases + 1))
    fi
done
sleep 0.5
kill $pids 2>/dev/null
wait $pids 2>/dev/null
pids=""

# Pair each transaction's first DISCOVER with its first OFFER (and REQUEST
# with ACK) by transaction id; latencies in ms, sorted.
tshark -r "$work/dhcp.pcapng" -T fields -e frame.time_epoch -e dhcp.id -e dhcp.option.dhcp 2>/dev/null |
awk -v out="$work" '
    $3 == 1 && !(($2) in discover) { discover[$2] = $1 }
    $3 == 2 && ($2 in discover) && !(($2) in offer) { offer[$2] = $1; print ($1 - discover[$2]) * 1000 > (out "/offer.ms") }
    $3 == 3 && !(($2) in request) { request[$2] = $1 }
    $3 == 5 && ($2 in request) && !(($2) in ack) { ack[$2] = $1; print ($1 - request[$2]) * 1000 > (out "/ack.ms") }
'
summary() {
    sort -n "$1" 2>/dev/null | awk -v what="$2" '
        { v[NR] = $1 }
        END {
            if (NR == 0) { printf "%-18s no exchanges\n", what; exit }
            m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
            p = int(0.9 * NR + 0.999999); if (p < 1) p = 1
            printf "%-18s n=%d median %.1f ms  p90 %.1f ms  min %.1f ms  max %.1f ms\n", what, NR, m, v[p], v[1], v[NR]
        }'
}
echo "DHCP recovery server, busybox udhcpc in namespaces, $exchanges exchanges, $leases leases"
summary "$work/offer.ms" "DISCOVER->OFFER"
summary "$work/ack.ms" "REQUEST->ACK"
[ "$leases" -eq "$exchanges" ] || { echo "FAIL: $((exchanges - leases)) exchanges without a lease"; exit 1; }
