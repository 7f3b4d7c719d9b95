#!/bin/sh
# Builds the tool and opens it against the simulated demo fleet on loopback.
#
# With a display: the tool's window opens; closing it stops the simulator.
# Without one: the tool runs on a private virtual display until its list
# shows exactly the fleet's devices, a screenshot of its window is saved
# (the path is printed; VANTREL_SCREENSHOT chooses it), and the tool is
# closed the way its close box does.
set -e
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset windows >/dev/null && cmake --build --preset windows
cmake --preset native >/dev/null && cmake --build --preset native

bin=build/windows/bin
fleet=simulator/fleets/demo.fleet
work=$(mktemp -d)
sim_pid=""
tool_pid=""
. scripts/xvfb.sh
cleanup() {
    [ -n "$tool_pid" ] && kill "$tool_pid" 2>/dev/null || true
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

wine_run() { cmake/wine-run.sh "$PWD/build/windows/wineprefix" "$@"; }

# The simulator answers on loopback only, on a port of its choosing.
build/native/bin/vantrel-devsim --bind 127.0.0.1 --port 0 --port-file "$work/port" \
    --fleet "$fleet" --log "$work/simulator.log" >"$work/simulator.out" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do
    [ -s "$work/port" ] && break
    sleep 0.1
done
[ -s "$work/port" ] || { echo "the simulator did not start" >&2; exit 1; }
export ZOVA_TARGET="127.0.0.1:$(cat "$work/port")"

if [ -n "$DISPLAY" ]; then
    wine_run "$bin/VantrelConfig.exe"
    exit 0
fi

# The virtual display has no window manager: the window has no frame, and
# the screenshot shows its client area.
start_xvfb
# Wine's helper processes inherit the output of the program that starts
# them: files, so that nobody waits on a pipe they keep open.
wine_run "$bin/VantrelConfig.exe" >"$work/tool.log" 2>&1 </dev/null &
tool_pid=$!
devices=$(grep -c '^\[device\]' "$fleet")
wine_run "$bin/vantrel-probe.exe" wait-rows "$devices" 60 >"$work/wait.log" 2>&1 || {
    cat "$work/wait.log" >&2
    exit 1
}
wine_run "$bin/vantrel-probe.exe" rows >"$work/rows.crlf" 2>&1
tr -d '\r' <"$work/rows.crlf" >"$work/rows"
cat "$work/rows"

# The list must show the fleet's devices, each once, and nothing else.
grep '^mac *=' "$fleet" | sed 's/^mac *= *//' | tr 'a-f' 'A-F' | sort >"$work/fleet-macs"
cut -f7 "$work/rows" | sort >"$work/shown-macs"
if ! cmp -s "$work/fleet-macs" "$work/shown-macs"; then
    echo "the list does not show exactly the fleet's devices:" >&2
    diff "$work/fleet-macs" "$work/shown-macs" >&2 || true
    exit 1
fi

shot=${VANTREL_SCREENSHOT:-build/main-window.png}
sleep 1  # let the last rows paint
wine_run "$bin/vantrel-probe.exe" rect >"$work/rect" 2>&1
import -window root -crop "$(tr -d '\r' <"$work/rect")" +repage "$shot"
echo "screenshot: $shot"

wine_run "$bin/vantrel-probe.exe" close >/dev/null 2>&1
for _ in $(seq 100); do
    kill -0 "$tool_pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$tool_pid" 2>/dev/null; then
    echo "the tool did not close" >&2
    exit 1
fi
wait "$tool_pid"
tool_pid=""
