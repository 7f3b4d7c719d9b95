#!/bin/sh
# vantrel-cli apply stopped by Ctrl-C: SIGINT to its Wine process, which Wine
# hands to the console control handler as Windows does a Ctrl-C typed at the
# console. Against the simulator on loopback: the line in flight is finished
# and read back, the lines not reached say so, the JSON is whole, the summary
# printed, the status 130; a second Ctrl-C ends the program at once.
# Usage: interrupt.sh WINE_RUN PREFIX vantrel-cli.exe vantrel-devsim.exe
run=$1
prefix=$2
cli=$3
sim=$4
work=$(mktemp -d)
simpid=""
clipid=""
cleanup() {
    for pid in $clipid $simpid; do
        kill -INT "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
win() { echo "Z:$1" | tr / '\\'; }

# Twenty devices whose results come 200 ms late, and one whose configure
# requests are lost (its line waits the whole 3 s for a result).
for n in $(seq 20); do
    printf '[device]\nmac = 02-6B-D4-1C-00-%02X\nip = 10.28.0.%d\nmask = 255.255.255.0\n' "$n" "$n"
    printf 'hostname = dev%d\nresult-delay-ms = 200\n' "$n"
done >"$work/fleet"
printf '[device]\nmac = 02-6B-D4-1C-00-99\nip = 10.28.0.99\nmask = 255.255.255.0\nlost = requests\n' \
    >>"$work/fleet"
"$run" "$prefix" "$sim" --bind 127.0.0.1 --port 0 --port-file "$(win "$work/port")" \
    --fleet "$(win "$work/fleet")" --log "$(win "$work/log")" 2>"$work/sim.err" &
simpid=$!
for _ in $(seq 200); do [ -s "$work/port" ] && break; sleep 0.05; done
[ -s "$work/port" ] || { echo "FAIL: simulator did not start"; cat "$work/sim.err"; exit 1; }
export ZOVA_TARGET="127.0.0.1:$(tr -d '\r\n' <"$work/port")"

# apply PLAN SIGNALS: starts apply with the plan as JSON, sends SIGINT
# SIGNALS times once the third line is on its way, and waits for the end;
# its status in $status.
apply() {
    : >"$work/err"
    "$run" "$prefix" "$cli" apply --format json "$(win "$work/$1")" >"$work/out" 2>>"$work/err" &
    clipid=$!
    for _ in $(seq 600); do
        grep -q '^\[3/' "$work/err" && break
        kill -0 "$clipid" 2>/dev/null || break
        sleep 0.05
    done
    for _ in $(seq "$2"); do
        kill -INT "$clipid"
        sleep 0.1
    done
    wait "$clipid"
    status=$?
    clipid=""
}

printf 'mac,hostname\n' >"$work/plan"
for n in $(seq 20); do printf '02-6B-D4-1C-00-%02X,renamed%d\n' "$n" "$n"; done >>"$work/plan"
apply plan 1
[ "$status" -eq 130 ] || fail "one Ctrl-C: status $status, not 130"
python3 - "$work/out" "$work/log" <<'CHECK' || fail "one Ctrl-C: the records"
import json, sys
records = json.load(open(sys.argv[1], encoding="utf-8"))
carried = sum(1 for line in open(sys.argv[2]) if '"configure"' in line and '"accepted"' in line)
changed = [r for r in records if r["result"] == "changed"]
rest = [r for r in records if r["result"] != "changed"]
ok = (len(records) == 20 and len(changed) >= 3 and len(changed) == carried
      and all(r["result"] == "not sent" and r["reason"] == "interrupted" for r in rest))
if not ok:
    print("records:", records, "carried out:", carried)
sys.exit(0 if ok else 1)
CHECK
grep -q '^20 lines: [0-9]* changed, [0-9]* not sent$' "$work/err" || fail "one Ctrl-C: no summary"

# A second Ctrl-C while the line in flight waits for its result: no summary.
printf 'mac,hostname\n02-6B-D4-1C-00-01,again1\n02-6B-D4-1C-00-02,again2\n' >"$work/twice"
printf '02-6B-D4-1C-00-99,waits\n02-6B-D4-1C-00-03,again3\n' >>"$work/twice"
apply twice 2
[ "$status" -eq 130 ] || fail "two Ctrl-Cs: status $status, not 130"
grep -q ' lines: ' "$work/err" && fail "two Ctrl-Cs: it went on to the summary"

[ "$failures" -eq 0 ] || { cat "$work/out" "$work/err"; exit 1; }
echo "apply: stopped after the line in flight on Ctrl-C, records whole, status 130; a second Ctrl-C ends it"
