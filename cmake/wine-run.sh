#!/bin/sh
# Runs one Windows program under Wine for CTest and the scripts.
# Usage: wine-run.sh PREFIX PROGRAM [ARGS...]
# The prefix lives in the build tree and is made ready by wine-prefix.sh;
# without a display the program gets a virtual one. The caller sets
# ZOVA_TARGET for a program that loads zova.dll.
prefix=$(realpath -m "$1")
shift
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=wine64

# A 32-bit program (PE machine 0x14c) needs Wine's 32-bit loader. Where
# that cannot run, the program is skipped (exit 77, CTest's skip code here)
# with the reason, instead of failing for a reason of the machine.
pe_offset=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
if [ -n "$pe_offset" ] &&
    [ "$(od -An -tx2 -j$((pe_offset + 4)) -N2 "$1" | tr -d ' ')" = 014c ]; then
    if ! reason=$("$(dirname "$0")/wine32-check.sh"); then
        echo "skipped: $1 is a 32-bit program: $reason" >&2
        exit 77
    fi
    wine=/usr/lib/wine/wine
fi

if [ -z "$DISPLAY" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$prefix" "$@"
fi
"$(dirname "$0")/wine-prefix.sh" "$prefix" || exit 1
export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
# No menu builder: a shortcut that an installer makes stays in the prefix,
# not in the Linux desktop's menus.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
exec "$wine" "$@"
