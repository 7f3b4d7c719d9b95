#!/bin/sh
# `vantrel-cli recover` against a real DHCP client (busybox udhcpc), server
# and client each in a namespace joined by a veth pair: one OFFER and one ACK
# line, a clean stop on Ctrl-C (SIGINT to the Wine process, which Wine hands
# to the console control handler), and the message when port 67 is taken.
# Usage: recover-netns.sh WINE_RUN PREFIX vantrel-cli.exe
. "$(dirname "$0")/../dhcp/netns-common.sh"

srv=vcli-s-$$
cli=vcli-c-$$
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

dhcp_pair "$srv" "$cli"
ip -n "$cli" link set vc down
ip -n "$cli" link set vc address 02:6b:d4:00:00:2a
ip -n "$cli" link set vc up
wine_server_in "$srv" "$2" "$1"

# The Windows process of the program started in the namespace: the one whose
# first argument is the program (the scripts that started it name it later).
cli_pid() {
    for pid in $(ip netns pids "$srv"); do
        tr '\0' '\n' <"/proc/$pid/cmdline" 2>/dev/null | head -n 1 | grep -q 'vantrel-cli\.exe$' &&
            echo "$pid"
    done | head -n 1
}

# Port 67 held by another program: the message and status 10.
ip netns exec "$srv" python3 -c '
import socket, time
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.bind(("0.0.0.0", 67))
print("bound", flush=True)
time.sleep(60)' >"$NS_TMP/holder.out" &
holder=$!
ns_track $holder
for _ in $(seq 100); do grep -q bound "$NS_TMP/holder.out" && break; sleep 0.1; done
ip netns exec "$srv" "$1" "$2" "$3" recover --for 1 >"$NS_TMP/taken.out" 2>"$NS_TMP/taken.err"
status=$?
[ "$status" -eq 10 ] || fail "port taken: status $status, not 10"
grep -q '^DHCP server init failed: error ' "$NS_TMP/taken.err" ||
    { fail "port taken: no message"; cat "$NS_TMP/taken.out" "$NS_TMP/taken.err"; }
kill "$holder"
wait "$holder" 2>/dev/null

# The server, bounded at two minutes.
ip netns exec "$srv" "$1" "$2" "$3" recover --for 2 >"$NS_TMP/server.out" 2>"$NS_TMP/server.err" &
server=$!
ns_track $server
for _ in $(seq 600); do
    grep -q 'Ctrl-C stops it' "$NS_TMP/server.out" && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.1
done
grep -q 'Ctrl-C stops it' "$NS_TMP/server.out" ||
    { echo "FAIL: server did not start:"; cat "$NS_TMP/server.out" "$NS_TMP/server.err"; exit 1; }

cat >"$NS_TMP/udhcpc.sh" <<'SCRIPT'
#!/bin/sh
[ "$1" = bound ] && echo "$ip $subnet" >"$LEASE"
exit 0
SCRIPT
chmod +x "$NS_TMP/udhcpc.sh"
LEASE="$NS_TMP/lease" timeout 20 ip netns exec "$cli" busybox udhcpc -i vc -n -q -f -t 3 -T 1 \
    -s "$NS_TMP/udhcpc.sh" >"$NS_TMP/udhcpc.log" 2>&1
got=$(cat "$NS_TMP/lease" 2>/dev/null)
[ "$got" = "10.200.1.42 255.255.255.0" ] || { fail "udhcpc got '$got'"; cat "$NS_TMP/udhcpc.log"; }
sleep 0.3
grep -qx 'OFFER 02-6B-D4-00-00-2A -> 10.200.1.42 server 10.200.1.254' "$NS_TMP/server.out" || fail "no OFFER line"
grep -qx 'ACK 02-6B-D4-00-00-2A -> 10.200.1.42 server 10.200.1.254' "$NS_TMP/server.out" || fail "no ACK line"

# Ctrl-C: the program stops its worker, closes the socket and ends with 0.
pid=$(cli_pid)
[ -n "$pid" ] || fail "no vantrel-cli.exe process in the namespace"
kill -INT "$pid"
for _ in $(seq 200); do kill -0 "$server" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$server" 2>/dev/null; then
    fail "still running 20 s after Ctrl-C"
else
    wait "$server"
    status=$?
    [ "$status" -eq 0 ] || fail "status $status after Ctrl-C"
fi
tail -n 1 "$NS_TMP/server.out" | grep -qx 'DHCP server stopped' || fail "no clean stop"
[ "$failures" -eq 0 ] || { cat "$NS_TMP/server.out" "$NS_TMP/server.err"; exit 1; }
echo "recover: leased 10.200.1.42 to udhcpc, OFFER and ACK printed, stopped on SIGINT; port taken refused"
