#!/bin/sh
# Real DHCP clients (busybox udhcpc, dhcpcd, ISC dhclient) against our server,
# server and client each in a namespace joined by a veth pair; tshark checks
# every reply decodes.
# Usage: real-clients.sh native SERVE
#        real-clients.sh wine WINE_RUN PREFIX SERVE.exe
. "$(dirname "$0")/netns-common.sh"

kind=$1
srv=vdhcp-s-$$
cli=vdhcp-c-$$
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

dhcp_pair "$srv" "$cli"

# Every reply on the wire, for tshark to judge at the end.
ip netns exec "$srv" tshark -i vs -f "udp port 67 or udp port 68" -w "$NS_TMP/dhcp.pcapng" \
    >/dev/null 2>"$NS_TMP/tshark.err" &
ns_track $!
tshark_pid=$!

# The server, bounded in time; it refuses to start outside a namespace.
export VANTREL_NETNS="$srv"
if [ "$kind" = wine ]; then
    wine_server_in "$srv" "$3" "$2"
    ip netns exec "$srv" "$2" "$3" "$4" 90 >"$NS_TMP/server.out" 2>&1 &
else
    ip netns exec "$srv" "$2" 90 >"$NS_TMP/server.out" 2>&1 &
fi
ns_track $!
for _ in $(seq 600); do
    grep -q -e serving -e failed -e refusing "$NS_TMP/server.out" && grep -q Capturing "$NS_TMP/tshark.err" && break
    sleep 0.1
done
if ! grep -q serving "$NS_TMP/server.out"; then
    echo "FAIL: server did not start:"; cat "$NS_TMP/server.out" "$NS_TMP/tshark.err"
    exit 1
fi

set_mac() {
    ip -n "$cli" link set vc down
    ip -n "$cli" link set vc address "$1"
    ip -n "$cli" link set vc up
}

cat >"$NS_TMP/udhcpc.sh" <<'SCRIPT'
#!/bin/sh
[ "$1" = bound ] && echo "$ip $subnet" >"$LEASE"
exit 0
SCRIPT
cat >"$NS_TMP/dhclient.sh" <<'SCRIPT'
#!/bin/sh
[ "$reason" = BOUND ] && echo "$new_ip_address $new_subnet_mask" >"$LEASE"
exit 0
SCRIPT
cat >"$NS_TMP/dhcpcd.sh" <<SCRIPT
#!/bin/sh
[ "\$reason" = BOUND ] && echo "\$new_ip_address \$new_subnet_mask" >"$NS_TMP/dhcpcd-bound"
exit 0
SCRIPT
chmod +x "$NS_TMP/udhcpc.sh" "$NS_TMP/dhclient.sh" "$NS_TMP/dhcpcd.sh"
# dhcpcd reads this instead of /etc/dhcpcd.conf, whose "require
# dhcp_server_identifier" rejects every reply of ours. No randomised start
# delay and no ARP probe of the leased address: they only cost time here.
printf 'ipv4only\nnodev\nnodelay\nnoarp\nscript %s\n' "$NS_TMP/dhcpcd.sh" >"$NS_TMP/dhcpcd.conf"
printf 'timeout 20;\nretry 1;\ninitial-interval 1;\n' >"$NS_TMP/dhclient.conf"

# udhcpc MAC: prints "ip mask" of the lease, or nothing.
udhcpc() {
    set_mac "$1"
    lease="$NS_TMP/udhcpc-$1"
    LEASE=$lease timeout 20 ip netns exec "$cli" busybox udhcpc -i vc -n -q -f -t 3 -T 1 \
        -s "$NS_TMP/udhcpc.sh" >"$NS_TMP/udhcpc.log" 2>&1
    cat "$lease" 2>/dev/null
}

# dhclient MAC: the same with ISC dhclient, stopped once it holds the lease
# or has been acknowledged. It refuses a lease without a lease time, which
# our replies never carry, so its log shows how far it got.
dhclient() {
    set_mac "$1"
    lease="$NS_TMP/dhclient-$1"
    LEASE=$lease timeout 40 ip netns exec "$cli" /usr/sbin/dhclient -1 -d -cf "$NS_TMP/dhclient.conf" \
        -sf "$NS_TMP/dhclient.sh" -pf "$NS_TMP/dhclient.pid" -lf "$NS_TMP/dhclient.leases" vc \
        >"$NS_TMP/dhclient.log" 2>&1 &
    pid=$!
    ns_track $pid
    for _ in $(seq 300); do
        [ -s "$lease" ] && break
        grep -q "no expiry time" "$NS_TMP/dhclient.log" && break
        kill -0 $pid 2>/dev/null || break
        sleep 0.1
    done
    kill $pid 2>/dev/null
    wait $pid 2>/dev/null
    cat "$lease" 2>/dev/null
}

# dhcpcd MAC: prints "ip mask" that dhcpcd bound, followed by the address the
# interface then carries, or nothing. It runs in a mount namespace of its own
# with empty /run and /var/lib/dhcpcd, so its pid files, sockets, DUID and
# lease never reach the host, and our script replaces its hooks, so
# resolv.conf and the host name stay untouched. -1 -B: it stays in the
# foreground and exits once bound.
dhcpcd() {
    set_mac "$1"
    rm -f "$NS_TMP/dhcpcd-bound"
    timeout 20 ip netns exec "$cli" unshare -m --propagation private sh -c '
        mount -t tmpfs -o size=1m dhcpcd-run /run &&
        mount -t tmpfs -o size=1m dhcpcd-db /var/lib/dhcpcd &&
        exec dhcpcd -f "$1" -4 -1 -B -d vc' sh "$NS_TMP/dhcpcd.conf" \
        >"$NS_TMP/dhcpcd.log" 2>&1
    cat "$NS_TMP/dhcpcd-bound" 2>/dev/null
    ip -n "$cli" -4 -o addr show dev vc | awk '{ print $4 }'
    ip -n "$cli" addr flush dev vc
}

got=$(udhcpc 02:6b:d4:00:00:2a)
[ "$got" = "10.200.1.42 255.255.255.0" ] || { fail "udhcpc got '$got'"; cat "$NS_TMP/udhcpc.log"; }

got=$(dhclient 02:6b:d4:11:22:c8)
if [ -z "$got" ] && grep -q "DHCPACK of 10.200.1.200 from" "$NS_TMP/dhclient.log" &&
   grep -q "no expiry time" "$NS_TMP/dhclient.log"; then
    echo "note: dhclient was offered and acknowledged 10.200.1.200 but refuses a lease without lease time"
elif [ "$got" != "10.200.1.200 255.255.255.0" ]; then
    fail "dhclient got '$got'"; cat "$NS_TMP/dhclient.log"
fi

got=$(dhcpcd 02:6b:d4:5e:0c:33)
[ "$got" = "10.200.1.51 255.255.255.0
10.200.1.51/24" ] || { fail "dhcpcd got '$got'"; cat "$NS_TMP/dhcpcd.log"; }

got=$(udhcpc 02:6b:d5:00:00:2b)
[ -z "$got" ] || fail "client with another prefix got '$got'"

kill -INT $tshark_pid
wait $tshark_pid 2>/dev/null
pcap="$NS_TMP/dhcp.pcapng"
count() { tshark -r "$pcap" -Y "$1" 2>/dev/null | wc -l; }
[ "$(count '_ws.malformed || _ws.expert.severity >= warning')" -eq 0 ] ||
    { fail "tshark warns about packets:"; tshark -r "$pcap" -Y '_ws.malformed || _ws.expert.severity >= warning' -V | grep -i -e expert -e malformed; }
[ "$(count 'dhcp.option.dhcp == 2 && dhcp.option.subnet_mask == 255.255.255.0 && frame.len == 342')" -ge 2 ] ||
    fail "no well-formed 300-byte offers captured"
[ "$(count 'dhcp.option.dhcp == 5 && dhcp.ip.your == 10.200.1.200 && dhcp.option.subnet_mask == 255.255.255.0')" -ge 1 ] ||
    fail "no ACK for dhclient captured"
[ "$(count 'dhcp.hw.mac_addr == 02:6b:d5:00:00:2b && dhcp.flags.bc == 0 && dhcp.type == 1')" -ge 1 ] ||
    fail "the foreign client's requests were not seen"
[ "$(count 'dhcp.hw.mac_addr == 02:6b:d5:00:00:2b && dhcp.type == 2')" -eq 0 ] || fail "foreign client was answered"

echo "$kind server: udhcpc and dhcpcd leased, dhclient acknowledged, other prefix ignored, $(count 'dhcp.type == 2') replies decoded"
[ "$failures" -eq 0 ]
