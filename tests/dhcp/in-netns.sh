#!/bin/sh
# Runs one test program inside a namespace of its own. Its broadcasts reach
# its own sockets (looped back) and a second namespace that only drops them.
# Usage: in-netns.sh [--wine WINE_RUN PREFIX] PROGRAM [ARGS...]
. "$(dirname "$0")/netns-common.sh"

ns=vdhcp-t-$$
sink=vdhcp-k-$$
ns_add "$ns"
ns_add "$sink"
ip -n "$ns" link add v0 type veth peer name v1 netns "$sink"
ip -n "$ns" addr add 10.200.1.254/24 dev v0
ip -n "$ns" link set v0 up
ip -n "$sink" link set v1 up
ip -n "$ns" route add 255.255.255.255 dev v0

export VANTREL_NETNS="$ns"
if [ "$1" = "--wine" ]; then
    wine_run=$2
    prefix=$3
    shift 3
    wine_server_in "$ns" "$prefix" "$wine_run"
    ip netns exec "$ns" "$wine_run" "$prefix" "$@"
else
    ip netns exec "$ns" "$@"
fi
