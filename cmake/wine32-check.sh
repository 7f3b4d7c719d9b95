#!/bin/sh
# Succeeds when Wine can run 32-bit Windows programs on this machine;
# otherwise prints why and fails. Usage: wine32-check.sh [COMMAND [ARGS...]]
# With a command: runs it where 32-bit programs run, and otherwise says why
# and exits 77 (CTest's skip code here).
# Wine runs them through its 32-bit loader (Debian: package wine32), itself
# a 32-bit Linux program.
loader=/usr/lib/wine/wine
reason=""
if [ ! -x "$loader" ]; then
    reason="Wine's 32-bit loader ($loader, package wine32) is not installed"
elif ! output=$("$loader" --version 2>&1); then
    reason="this machine cannot run Wine's 32-bit loader: $output"
fi
if [ $# -eq 0 ]; then
    [ -z "$reason" ] || echo "$reason"
    [ -z "$reason" ]
    exit
fi
if [ -n "$reason" ]; then
    echo "skipped: 32-bit programs: $reason" >&2
    exit 77
fi
exec "$@"
