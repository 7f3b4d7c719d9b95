#!/bin/sh
# Runs one Windows program under Wine for CTest and the scripts.
# Usage: wine-run.sh PREFIX PROGRAM [ARGS...]
# The prefix lives in the build tree and is made once; without a display the
# program gets a virtual one.
prefix=$(realpath -m "$1")
shift
export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# The library broadcasts unless told otherwise: tests and scripts never let it.
export ZOVA_TARGET="${ZOVA_TARGET:-127.0.0.1:9}"
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=wine64

if [ -z "$DISPLAY" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$prefix" "$@"
fi
if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$(dirname "$prefix")"
    flock "$prefix.lock" sh -c '[ -f "$WINEPREFIX/system.reg" ] || { wineboot -i >/dev/null 2>&1; wineserver -w; }'
fi
# Without a window manager, Wine waits about 2 s for one at every closing
# window; letting Wine manage its windows itself there removes the wait.
# On a desktop with a window manager, windows stay managed.
managed=Y
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' || managed=N
if [ "$(cat "$prefix/.vantrel-managed" 2>/dev/null)" != "$managed" ]; then
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f >/dev/null 2>&1 &&
        echo "$managed" >"$prefix/.vantrel-managed"
fi

# A lingering wineserver makes each later start take a tenth of a second
# instead of more than one.
wineserver -p 30 >/dev/null 2>&1 || true
exec "$wine" "$@"
