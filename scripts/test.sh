#!/bin/sh
# Sets up, builds the Windows and native presets and runs every test.
set -e
cd "$(dirname "$0")/.."
scripts/setup.sh

for preset in windows native native-debug; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done

# One virtual display for all Wine tests when there is none.
if [ -z "$DISPLAY" ]; then
    . scripts/xvfb.sh
    start_xvfb
    trap stop_xvfb EXIT
fi

status=0
ctest --preset native-debug -j 2 || status=1
ctest --preset windows || status=1
exit $status
