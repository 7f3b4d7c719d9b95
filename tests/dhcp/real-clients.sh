#!/bin/sh
# Real DHCP clients against our server, each in a namespace of its own. The
# server's namespace has two adapters:
#   vs 10.200.1.254/24, on a bridge (in namespace "plant") with the client
#      namespace "cli": busybox udhcpc, dhcpcd, ISC dhclient and
#      systemd-networkd each hold a lease naming vs; later the plant's own
#      DHCP server (dnsmasq) joins the bridge, and a client that chooses its
#      offer holds its lease while ours runs, without a NAK from us;
#   vt, behind which "cli2" sits, and which holds the default and the
#      broadcast route, so a reply that followed the routes would leave
#      there. First it has no address: its client gets nothing. Then it gets
#      192.168.77.1/24 (under Wine: an adapter the server must pick up while
#      running), and its client's lease names that address.
# tshark on both adapters: every reply well formed and 300 bytes, naming the
# adapter it left by, none meant for a client behind the other adapter.
# Usage: real-clients.sh native SERVE
#        real-clients.sh wine WINE_RUN PREFIX SERVE.exe
. "$(dirname "$0")/netns-common.sh"

kind=$1
srv=vdhcp-s-$$
cli=vdhcp-c-$$
cli2=vdhcp-d-$$
plant=vdhcp-p-$$
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

ns_add "$srv"
ns_add "$cli"
ns_add "$cli2"
ns_add "$plant"
ip -n "$plant" link add br0 type bridge
ip -n "$srv" link add vs type veth peer name ps netns "$plant"
ip -n "$cli" link add vc type veth peer name pc netns "$plant"
ip -n "$srv" link add vt type veth peer name vd netns "$cli2"
for port in ps pc; do ip -n "$plant" link set "$port" master br0 up; done
ip -n "$srv" addr add 10.200.1.254/24 dev vs
# link_up NS IF. Raw-socket clients ignore replies whose checksum the veth
# left undone: no checksum offload.
link_up() {
    ip -n "$1" link set "$2" up
    ip netns exec "$1" ethtool -K "$2" tx off >/dev/null
}
link_up "$srv" vs
link_up "$srv" vt
link_up "$cli" vc
link_up "$cli2" vd
link_up "$plant" br0
ip -n "$srv" route add default dev vt
ip -n "$srv" route add 255.255.255.255 dev vt

for link in vs vt; do
    ip netns exec "$srv" dumpcap -q -i $link -f "udp port 67 or udp port 68" \
        -w "$NS_TMP/$link.pcapng" 2>"$NS_TMP/dumpcap-$link.err" &
    ns_track $!
    capture_pids="$capture_pids $!"
done

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
    grep -q -e serving -e failed -e refusing "$NS_TMP/server.out" &&
        grep -q Capturing "$NS_TMP/dumpcap-vs.err" && grep -q Capturing "$NS_TMP/dumpcap-vt.err" &&
        break
    sleep 0.1
done
if ! grep -q serving "$NS_TMP/server.out"; then
    echo "FAIL: server did not start:"; cat "$NS_TMP/server.out" "$NS_TMP"/dumpcap-*.err
    exit 1
fi

# set_mac NS IF MAC
set_mac() {
    ip -n "$1" link set "$2" down
    ip -n "$1" link set "$2" address "$3"
    ip -n "$1" link set "$2" up
}

# Each client's script writes "address mask lease-time server" of its lease.
cat >"$NS_TMP/udhcpc.sh" <<'SCRIPT'
#!/bin/sh
[ "$1" = bound ] && echo "$ip $subnet $lease $serverid" >"$LEASE"
exit 0
SCRIPT
# dhclient and dhcpcd clear the environment for their scripts.
cat >"$NS_TMP/dhclient.sh" <<SCRIPT
#!/bin/sh
[ "\$reason" = BOUND ] && echo "\$new_ip_address \$new_subnet_mask \$new_dhcp_lease_time \$new_dhcp_server_identifier" >"$NS_TMP/dhclient-bound"
exit 0
SCRIPT
sed "s|dhclient-bound|dhcpcd-bound|" "$NS_TMP/dhclient.sh" >"$NS_TMP/dhcpcd.sh"
chmod +x "$NS_TMP/udhcpc.sh" "$NS_TMP/dhclient.sh" "$NS_TMP/dhcpcd.sh"
# dhcpcd reads this instead of /etc/dhcpcd.conf. No randomised start delay
# and no ARP probe of the leased address: they only cost time here. Debian's
# own file says "require dhcp_server_identifier", which the replies meet.
printf 'ipv4only\nnodev\nnodelay\nnoarp\nrequire dhcp_server_identifier\nscript %s\n' \
    "$NS_TMP/dhcpcd.sh" >"$NS_TMP/dhcpcd.conf"
printf 'timeout 20;\nretry 1;\ninitial-interval 1;\n' >"$NS_TMP/dhclient.conf"

# udhcpc NS IF MAC TRIES: prints the lease line, or nothing.
udhcpc() {
    set_mac "$1" "$2" "$3"
    lease="$NS_TMP/udhcpc-$3"
    LEASE=$lease timeout 20 ip netns exec "$1" busybox udhcpc -i "$2" -n -q -f -t "$4" -T 1 \
        -s "$NS_TMP/udhcpc.sh" >"$NS_TMP/udhcpc-$3.log" 2>&1
    cat "$lease" 2>/dev/null
}

# dhclient MAC CONFIG: the same with ISC dhclient, stopped once it holds a
# lease (it stays in the background otherwise) or has given up.
dhclient() {
    set_mac "$cli" vc "$1"
    rm -f "$NS_TMP/dhclient-bound" "$NS_TMP/dhclient.leases"
    timeout 40 ip netns exec "$cli" /usr/sbin/dhclient -1 -d -cf "$2" -sf "$NS_TMP/dhclient.sh" \
        -pf "$NS_TMP/dhclient.pid" -lf "$NS_TMP/dhclient.leases" vc >"$NS_TMP/dhclient.log" 2>&1 &
    pid=$!
    ns_track $pid
    for _ in $(seq 300); do
        [ -s "$NS_TMP/dhclient-bound" ] && break
        kill -0 $pid 2>/dev/null || break
        sleep 0.1
    done
    kill $pid 2>/dev/null
    wait $pid 2>/dev/null
    cat "$NS_TMP/dhclient-bound" 2>/dev/null
    ip -n "$cli" addr flush dev vc
}

# dhcpcd MAC: the lease line, then the address the interface carries. It
# runs in a mount namespace of its own with empty /run and /var/lib/dhcpcd,
# so its pid files, sockets, DUID and lease never reach the host, and our
# script replaces its hooks, so resolv.conf and the host name stay
# untouched. -1 -B: it stays in the foreground and exits once bound.
dhcpcd() {
    set_mac "$cli" vc "$1"
    timeout 20 ip netns exec "$cli" unshare -m --propagation private sh -c '
        mount -t tmpfs -o size=1m dhcpcd-run /run &&
        mount -t tmpfs -o size=1m dhcpcd-db /var/lib/dhcpcd &&
        exec dhcpcd -f "$1" -4 -1 -B -d vc' sh "$NS_TMP/dhcpcd.conf" \
        >"$NS_TMP/dhcpcd.log" 2>&1
    cat "$NS_TMP/dhcpcd-bound" 2>/dev/null
    ip -n "$cli" -4 -o addr show dev vc | awk '{ print $4 }'
    ip -n "$cli" addr flush dev vc
}

# networkd MAC: the same with systemd-networkd, without udev: in a mount
# namespace of its own with a read-only sysfs (networkd then takes udev as
# absent), an empty /run (no system bus, state only there) and only our
# .network file.
networkd() {
    set_mac "$cli" vc "$1"
    timeout 20 ip netns exec "$cli" unshare -m --propagation private sh -c '
        mount -t tmpfs -o size=1m networkd-run /run &&
        mkdir -p /run/systemd/netif/links /run/systemd/netif/leases &&
        chown -R systemd-network:systemd-network /run/systemd/netif &&
        mount -t tmpfs -o size=1m networkd-conf /etc/systemd/network &&
        printf "[Match]\nName=vc\n\n[Network]\nDHCP=ipv4\nLinkLocalAddressing=no\nIPv6AcceptRA=no\n" \
            >/etc/systemd/network/50-vc.network &&
        umount -l /sys && mount -t sysfs -o ro sysfs /sys || exit 1
        SYSTEMD_LOG_LEVEL=debug /lib/systemd/systemd-networkd >"$1" 2>&1 &
        # Read before it stops: stopping releases the lease and the address.
        for _ in $(seq 150); do
            lease=$(cat /run/systemd/netif/leases/* 2>/dev/null)
            address=$(ip -4 -o addr show dev vc | awk "{ print \$4 }")
            case $lease in *ADDRESS=*) [ -n "$address" ] && break ;; esac
            sleep 0.1
        done
        kill $! && wait $!
        echo "$lease" | sed -n "s/^\(ADDRESS\|NETMASK\|LIFETIME\|SERVER_ADDRESS\)=//p" |
            tr "\n" " " | awk "{ print \$1, \$2, \$4, \$3 }"
        echo "$address"' sh "$NS_TMP/networkd.log"
    ip -n "$cli" addr flush dev vc
}

# show_lease NAME GOT WANTED: the lease line is the must-show figure of each client.
show_lease() {
    if [ "$2" = "$3" ]; then
        echo "$1: $(echo "$2" | head -n 1)"
    else
        fail "$1 got '$2', not '$3'"
        return 1
    fi
}

got=$(udhcpc "$cli" vc 02:6b:d4:00:00:2a 3)
show_lease udhcpc "$got" "10.200.1.42 255.255.255.0 3600 10.200.1.254" ||
    cat "$NS_TMP/udhcpc-02:6b:d4:00:00:2a.log"
got=$(dhcpcd 02:6b:d4:5e:0c:33)
show_lease dhcpcd "$got" "10.200.1.51 255.255.255.0 3600 10.200.1.254
10.200.1.51/24" || cat "$NS_TMP/dhcpcd.log"
got=$(dhclient 02:6b:d4:11:22:c8 "$NS_TMP/dhclient.conf")
show_lease dhclient "$got" "10.200.1.200 255.255.255.0 3600 10.200.1.254" || cat "$NS_TMP/dhclient.log"
got=$(networkd 02:6b:d4:00:00:0b)
show_lease systemd-networkd "$got" "10.200.1.11 255.255.255.0 3600 10.200.1.254
10.200.1.11/24" || grep -i dhcp "$NS_TMP/networkd.log"

# Together, since both wait in vain: a client without the prefix, and one
# behind the adapter without an address (the server could name none there).
udhcpc "$cli" vc 02:6b:d5:00:00:2b 3 >"$NS_TMP/foreign.lease" &
udhcpc "$cli2" vd 02:6b:d4:00:00:63 3 >"$NS_TMP/no-address.lease"
wait $!
[ -s "$NS_TMP/foreign.lease" ] && fail "client with another prefix got '$(cat "$NS_TMP/foreign.lease")'"
[ -s "$NS_TMP/no-address.lease" ] &&
    fail "client behind the adapter without address got '$(cat "$NS_TMP/no-address.lease")'"

ip -n "$srv" addr add 192.168.77.1/24 dev vt
got=$(udhcpc "$cli2" vd 02:6b:d4:00:00:64 5)
show_lease "udhcpc on the second adapter" "$got" "10.200.1.100 255.255.255.0 3600 192.168.77.1" ||
    cat "$NS_TMP/udhcpc-02:6b:d4:00:00:64.log"

# The plant's own server on the bridge, another range for the same MACs. A
# client that rejects our offers takes its lease; its REQUEST names dnsmasq,
# and we stay silent.
ip -n "$plant" addr add 10.200.9.1/24 dev br0
ip netns exec "$plant" dnsmasq --no-daemon --conf-file=/dev/null --port=0 --no-ping \
    --bind-interfaces --interface=br0 --dhcp-range=10.200.9.10,10.200.9.50,255.255.255.0,1h \
    --dhcp-leasefile="$NS_TMP/dnsmasq.leases" --pid-file="$NS_TMP/dnsmasq.pid" --user=root \
    --log-dhcp >"$NS_TMP/dnsmasq.log" 2>&1 &
ns_track $!
dnsmasq_pid=$!
for _ in $(seq 100); do grep -q "DHCP, IP range" "$NS_TMP/dnsmasq.log" && break; sleep 0.1; done
printf 'timeout 20;\nretry 1;\ninitial-interval 1;\nreject 10.200.1.254;\n' >"$NS_TMP/dhclient-plant.conf"
got=$(dhclient 02:6b:d4:00:00:99 "$NS_TMP/dhclient-plant.conf")
case $got in
    "10.200.9."[1-5][0-9]" 255.255.255.0 3600 10.200.9.1") echo "dhclient beside dnsmasq: $got" ;;
    *) fail "dhclient beside dnsmasq got '$got'"; cat "$NS_TMP/dhclient.log" "$NS_TMP/dnsmasq.log" ;;
esac
kill $dnsmasq_pid
wait $dnsmasq_pid 2>/dev/null

# count ADAPTER FILTER: the packets captured on that adapter that match.
count() { tshark -r "$NS_TMP/$1.pcapng" -Y "$2" 2>/dev/null | wc -l; }
# The capture reaches its file in blocks, and what is still in the kernel
# when it stops is lost: stop it only once the last exchange on each adapter
# is in the file. On vs that is a last client's ACK, which the server sends
# after any reply to the requests before it.
got=$(udhcpc "$cli" vc 02:6b:d4:00:00:fe 3)
[ -n "$got" ] || fail "the last client got no lease"
for last in "vs dhcp.hw.mac_addr == 02:6b:d4:00:00:fe && dhcp.option.dhcp == 5" \
            "vt dhcp.hw.mac_addr == 02:6b:d4:00:00:64 && dhcp.option.dhcp == 5"; do
    for _ in $(seq 50); do
        [ "$(count "${last%% *}" "${last#* }")" -ge 1 ] && break
        sleep 0.2
    done
done
kill -INT $capture_pids
wait $capture_pids 2>/dev/null
ours_vs='ip.src == 10.200.1.254 && dhcp.type == 2'
ours_vt='ip.src == 192.168.77.1 && dhcp.type == 2'
for link in vs vt; do
    [ "$(count $link '_ws.malformed || _ws.expert.severity >= warning')" -eq 0 ] ||
        { fail "tshark warns about packets on $link:"
          tshark -r "$NS_TMP/$link.pcapng" -Y '_ws.malformed || _ws.expert.severity >= warning' -V |
              grep -i -e expert -e malformed; }
    [ "$(count $link 'dhcp.type == 2 && frame.len != 342 && !(ip.src == 10.200.9.1)')" -eq 0 ] ||
        fail "a reply of ours on $link is not 300 bytes"
    [ "$(count $link 'dhcp.type == 2 && dhcp.option.dhcp == 6 && !(ip.src == 10.200.9.1)')" -eq 0 ] ||
        fail "a NAK of ours on $link"
done
# Every reply names the adapter it left by; offers and ACKs carry an hour.
[ "$(count vs "$ours_vs && !(dhcp.option.dhcp_server_id == 10.200.1.254 && dhcp.option.ip_address_lease_time == 3600)")" -eq 0 ] ||
    fail "a reply on vs without its server identifier or lease time"
[ "$(count vt "$ours_vt && !(dhcp.option.dhcp_server_id == 192.168.77.1 && dhcp.option.ip_address_lease_time == 3600)")" -eq 0 ] ||
    fail "a reply on vt without its server identifier or lease time"
# Nothing meant for a client behind the other adapter, nothing from an
# adapter without address.
[ "$(count vt 'dhcp.type == 2 && !(dhcp.hw.mac_addr == 02:6b:d4:00:00:64)')" -eq 0 ] ||
    fail "replies meant for clients on vs left by vt"
[ "$(count vs 'dhcp.type == 2 && dhcp.hw.mac_addr == 02:6b:d4:00:00:64')" -eq 0 ] ||
    fail "a reply meant for the client on vt left by vs"
[ "$(count vt 'dhcp.hw.mac_addr == 02:6b:d4:00:00:63 && dhcp.type == 1')" -ge 1 ] ||
    fail "the requests on vt without an address were not seen"
[ "$(count vt 'dhcp.hw.mac_addr == 02:6b:d4:00:00:63 && dhcp.type == 2')" -eq 0 ] ||
    fail "a reply on vt while it had no address"
[ "$(count vs 'dhcp.hw.mac_addr == 02:6b:d5:00:00:2b && dhcp.type == 1')" -ge 1 ] ||
    fail "the foreign client's requests were not seen"
[ "$(count vs 'dhcp.hw.mac_addr == 02:6b:d5:00:00:2b && dhcp.type == 2')" -eq 0 ] ||
    fail "foreign client was answered"
# The client that chose dnsmasq: offered by us, its REQUEST naming dnsmasq
# left to dnsmasq.
plant_mac='dhcp.hw.mac_addr == 02:6b:d4:00:00:99'
[ "$(count vs "$plant_mac && dhcp.option.dhcp == 3 && dhcp.option.dhcp_server_id == 10.200.9.1")" -ge 1 ] ||
    fail "no REQUEST naming dnsmasq seen"
[ "$(count vs "$plant_mac && ip.src == 10.200.1.254 && dhcp.option.dhcp != 2")" -eq 0 ] ||
    fail "we answered the REQUEST naming dnsmasq"

echo "$kind server, replies of ours well formed, 300 bytes, naming their adapter:" \
    "$(count vs "$ours_vs") on vs, $(count vt "$ours_vt") on vt;" \
    "on vt none meant for vs, none while it had no address; no NAK;" \
    "dnsmasq's client: $(count vs "$plant_mac && dhcp.option.dhcp == 3") REQUESTs naming dnsmasq," \
    "$(count vs "$plant_mac && ip.src == 10.200.1.254 && dhcp.option.dhcp != 2") answered by us"
[ "$failures" -eq 0 ]
