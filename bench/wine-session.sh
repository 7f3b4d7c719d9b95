# Sourced by the benchmarks that run the tool under Wine, after $root is
# set: a work folder $work, the processes listed in $pids stopped and the
# folder removed on exit, and a virtual display when none is set.
work=$(mktemp -d)
pids=""
cleanup() {
    for pid in $pids; do kill "$pid" 2>/dev/null; done
    for pid in $pids; do wait "$pid" 2>/dev/null; done
    [ -n "$xvfb_started" ] && stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP
if [ -z "$DISPLAY" ]; then
    . "$root/scripts/xvfb.sh"
    start_xvfb || exit 1
    xvfb_started=1
fi
