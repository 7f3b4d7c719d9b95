#!/bin/sh
# Succeeds when Wine can run 32-bit Windows programs on this machine;
# otherwise prints why and fails. Usage: wine32-check.sh
# Wine runs them through its 32-bit loader (Debian: package wine32), itself
# a 32-bit Linux program.
loader=/usr/lib/wine/wine
if [ ! -x "$loader" ]; then
    echo "Wine's 32-bit loader ($loader, package wine32) is not installed"
    exit 1
fi
if ! reason=$("$loader" --version 2>&1); then
    echo "this machine cannot run Wine's 32-bit loader: $reason"
    exit 1
fi
