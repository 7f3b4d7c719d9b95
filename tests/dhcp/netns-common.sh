# Sourced by the namespace tests. Every namespace made here is named after
# this shell's pid and removed on exit, also when a step fails; nothing sent
# inside them can leave the machine.
SKIP_CODE=77
NS_LIST=""
NS_PIDS=""
NS_TMP=$(mktemp -d)

ns_cleanup() {
    # Wine's own service processes outlive a killed wineserver: stop them all
    # through the server first.
    if [ -n "$WINEPREFIX" ] && [ -n "$wineserver" ]; then
        "$wineserver" -k 2>/dev/null
        "$wineserver" -w 2>/dev/null
    fi
    for pid in $NS_PIDS; do
        kill "$pid" 2>/dev/null
    done
    for pid in $NS_PIDS; do
        wait "$pid" 2>/dev/null
    done
    # Anything still inside our namespaces (helpers a client forked, for one)
    # would outlive their names.
    for ns in $NS_LIST; do
        for pid in $(ip netns pids "$ns" 2>/dev/null); do
            kill "$pid" 2>/dev/null
        done
        ip netns del "$ns" 2>/dev/null
    done
    rm -rf "$NS_TMP"
}

# ns_add NAME: a namespace with loopback up; skips the test where namespaces
# cannot be made.
ns_add() {
    if ! ip netns add "$1" 2>/dev/null; then
        echo "SKIP: cannot create network namespaces here"
        exit $SKIP_CODE
    fi
    NS_LIST="$NS_LIST $1"
    ip -n "$1" link set lo up
}

# ns_link HOST DEVICES NAME NET: a veth adapter hNAME with NET.1/24 in HOST
# leading to dNAME with NET.2/24 in DEVICES, where broadcasts leave through
# dNAME: the link between a machine and a network of devices.
ns_link() {
    ip -n "$1" link add "h$3" type veth peer name "d$3" netns "$2"
    ip -n "$1" addr add "$4.1/24" dev "h$3"
    ip -n "$2" addr add "$4.2/24" dev "d$3"
    ip -n "$1" link set "h$3" up
    ip -n "$2" link set "d$3" up
    ip -n "$2" route add 255.255.255.255 dev "d$3"
}

# ns_track PID: a process started here that must end before its namespace goes.
# dhcp_pair SERVER CLIENT: new namespaces SERVER and CLIENT joined by a veth
# pair, vs (10.200.1.254/24, the server's, with the broadcast route) and vc
# (up, no address: the client's, to be given its MAC first if need be).
dhcp_pair() {
    ns_add "$1"
    ns_add "$2"
    ip -n "$1" link add vs type veth peer name vc netns "$2"
    ip -n "$1" addr add 10.200.1.254/24 dev vs
    ip -n "$1" link set vs up
    ip -n "$1" route add 255.255.255.255 dev vs
    ip -n "$2" link set vc up
    # Raw-socket clients ignore replies whose checksum the veth left undone.
    ip netns exec "$1" ethtool -K vs tx off >/dev/null
    ip netns exec "$2" ethtool -K vc tx off >/dev/null
}

ns_track() {
    NS_PIDS="$NS_PIDS $1"
}

trap ns_cleanup EXIT
trap 'exit 1' INT TERM HUP

# wine_server_in NS PREFIX WINE_RUN: Wine creates sockets in its wineserver,
# so the wineserver for PREFIX must run inside NS, or sockets of programs run
# there would open in the wineserver's namespace. The prefix is made first
# (by wine-prefix.sh beside WINE_RUN), and any wineserver left for it is
# stopped, then one is started in NS and checked.
wine_server_in() {
    export WINEPREFIX="$2"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    wineserver=/usr/lib/wine/wineserver64
    [ -x "$wineserver" ] || wineserver=wineserver
    ip netns exec "$1" "$(dirname "$3")/wine-prefix.sh" "$WINEPREFIX" || exit 1
    "$wineserver" -k 2>/dev/null
    "$wineserver" -w 2>/dev/null
    ip netns exec "$1" "$wineserver" -f -p >/dev/null 2>&1 &
    ns_track $!
    wine_ws_pid=$!
    sleep 0.5
    if ! kill -0 "$wine_ws_pid" 2>/dev/null ||
       [ "$(stat -L -c %i "/proc/$wine_ws_pid/ns/net")" != "$(stat -L -c %i "/run/netns/$1")" ]; then
        echo "FAIL: wineserver for $WINEPREFIX is not running inside $1"
        exit 1
    fi
}
