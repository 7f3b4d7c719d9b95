#!/bin/sh
# The tool on two real adapters, inside namespaces made here and removed on
# exit: a host namespace with veth adapters A (10.201.1.1/24) and B
# (10.202.1.1/24), each leading to a device namespace of its own where a
# simulator binds 0.0.0.0 on the device port, as a device does. Every
# process that sends is started through `ip netns exec`, so nothing leaves
# these namespaces.
# Usage: real-adapters.sh WINE_RUN PREFIX TEST_PROGRAM DEVSIM
. "$(dirname "$0")/../dhcp/netns-common.sh"
wine_run=$1
prefix=$2
test_program=$3
devsim=$4
if [ ! -x "$devsim" ]; then
    echo "SKIP: the native simulator is not built at $devsim (cmake --build --preset native --target vantrel-devsim)"
    exit $SKIP_CODE
fi

host=vreal-h-$$
ns_add "$host"
ns_add vreal-a-$$
ns_add vreal-b-$$

ns_link "$host" vreal-a-$$ a 10.201.1
ns_link "$host" vreal-b-$$ b 10.202.1

cat >"$NS_TMP/a.fleet" <<'FLEET'
[device]
mac = 02-6B-D4-20-00-01
type = Near device A
ip = 10.201.1.10
mask = 255.255.255.0
hostname = neara

[device]
mac = 02-6B-D4-20-00-02
type = Far device A
ip = 192.168.77.20
mask = 255.255.255.0
gateway = 192.168.77.1
hostname = fara
FLEET
cat >"$NS_TMP/b.fleet" <<'FLEET'
[device]
mac = 02-6B-D4-20-00-03
type = Near device B
ip = 10.202.1.10
mask = 255.255.255.0
hostname = nearb

[device]
mac = 02-6B-D4-20-00-04
type = Far device B
ip = 172.16.5.5
mask = 255.255.0.0
hostname = farb
FLEET

for side in a b; do
    ip netns exec "vreal-$side-$$" "$devsim" --bind 0.0.0.0 --port 17400 --in-test-namespace \
        --fleet "$NS_TMP/$side.fleet" --port-file "$NS_TMP/$side.port" \
        --log "$NS_TMP/$side.log" 2>"$NS_TMP/$side.err" &
    ns_track $!
done
for side in a b; do
    for _ in $(seq 100); do [ -s "$NS_TMP/$side.port" ] && break; sleep 0.1; done
    [ -s "$NS_TMP/$side.port" ] || { echo "FAIL: simulator $side did not start"; cat "$NS_TMP/$side.err"; exit 1; }
done

unset ZOVA_TARGET
export VANTREL_NETNS="$host"
export VANTREL_REALNET_LOG_A="Z:$NS_TMP/a.log"
export VANTREL_REALNET_LOG_B="Z:$NS_TMP/b.log"
wine_server_in "$host" "$prefix" "$wine_run"
ip netns exec "$host" "$wine_run" "$prefix" "$test_program"
