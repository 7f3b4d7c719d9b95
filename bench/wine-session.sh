# Sourced by the benchmarks that run the tool under Wine, after $root and
# $prefix are set: a work folder $work, the processes listed in $pids and the
# prefix's wineserver stopped and the folder removed on exit, and a virtual
# display when none is set.
work=$(mktemp -d)
pids=""
cleanup() {
    for pid in $pids; do kill "$pid" 2>/dev/null; done
    for pid in $pids; do wait "$pid" 2>/dev/null; done
    # Before the display goes: Wine's processes that lose it may not end.
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null
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
