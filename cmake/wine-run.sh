#!/bin/sh
# Runs one Windows program under Wine for CTest and the scripts.
# Usage: wine-run.sh PREFIX PROGRAM [ARGS...]
# The prefix lives in the build tree and is made ready by wine-prefix.sh;
# without a display the program gets a virtual one. The caller sets
# ZOVA_TARGET for a program that loads zova.dll.
prefix=$(realpath -m "$1")
shift
if [ -z "$DISPLAY" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$prefix" "$@"
fi
"$(dirname "$0")/wine-prefix.sh" "$prefix" || exit 1
export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=wine64
exec "$wine" "$@"
