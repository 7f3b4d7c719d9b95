# Sourced by the scripts: a private virtual display.
start_xvfb() {
    for n in $(seq 90 120); do
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        VANTREL_XVFB_PID=$!
        export DISPLAY=":$n"
        for _ in $(seq 50); do
            xdpyinfo >/dev/null 2>&1 && return 0
            sleep 0.1
        done
        kill "$VANTREL_XVFB_PID" 2>/dev/null || true
    done
    echo "no virtual display could be started" >&2
    return 1
}
stop_xvfb() {
    [ -n "$VANTREL_XVFB_PID" ] && kill "$VANTREL_XVFB_PID" 2>/dev/null || true
}
