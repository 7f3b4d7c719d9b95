#!/bin/sh
# A simulated device in DHCP mode without an address: not found by a scan
# while no DHCP server answers; once our server runs, it takes 10.200.1.N and
# a scan finds it there. Simulator, server and scan share one namespace.
# Usage: sim-dhcp-device.sh DEVSIM SERVE SCAN_ONCE
. "$(dirname "$0")/netns-common.sh"
devsim=$1
serve=$2
scan=$3

ns=vdhcp-r-$$
sink=vdhcp-k-$$
ns_add "$ns"
ns_add "$sink"
ip -n "$ns" link add v0 type veth peer name v1 netns "$sink"
ip -n "$ns" addr add 10.200.1.254/24 dev v0
ip -n "$ns" link set v0 up
ip -n "$sink" link set v1 up
ip -n "$ns" route add 255.255.255.255 dev v0
export VANTREL_NETNS="$ns"

cat >"$NS_TMP/fleet" <<'FLEET'
[device]
mac = 02-6B-D4-00-00-01
type = fixed
ip = 192.168.1.10
mask = 255.255.255.0
dhcp = off

[device]
mac = 02-6B-D4-00-00-07
type = lost
ip = 0.0.0.0
dhcp = on
FLEET

ip netns exec "$ns" "$devsim" --fleet "$NS_TMP/fleet" --port 0 --port-file "$NS_TMP/port" \
    --log "$NS_TMP/devsim.log" --in-test-namespace --dhcp-client 2>"$NS_TMP/devsim.err" &
ns_track $!
for _ in $(seq 100); do [ -s "$NS_TMP/port" ] && break; sleep 0.1; done
port=$(cat "$NS_TMP/port")
[ -n "$port" ] || { echo "FAIL: simulator did not start"; cat "$NS_TMP/devsim.err"; exit 1; }

sleep 2  # the lost device asks in vain meanwhile
before=$(ip netns exec "$ns" "$scan" "$port")
expected_before="02-6B-D4-00-00-01 192.168.1.10"
[ "$before" = "$expected_before" ] || { echo "FAIL: scan without server found '$before'"; exit 1; }

ip netns exec "$ns" "$serve" 30 >"$NS_TMP/server.out" 2>&1 &
ns_track $!
for _ in $(seq 100); do grep -q '"bound"' "$NS_TMP/devsim.log" && break; sleep 0.1; done
grep -q '"ip":"10.200.1.7"' "$NS_TMP/devsim.log" ||
    { echo "FAIL: device got no lease"; cat "$NS_TMP/devsim.log" "$NS_TMP/server.out"; exit 1; }

after=$(ip netns exec "$ns" "$scan" "$port" | sort)
expected_after="02-6B-D4-00-00-01 192.168.1.10
02-6B-D4-00-00-07 10.200.1.7"
[ "$after" = "$expected_after" ] || { echo "FAIL: scan with server found '$after'"; exit 1; }
echo "lost device found at 10.200.1.7 once the server ran"
