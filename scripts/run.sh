#!/bin/sh
# Sets up, builds, and starts the device simulator with the demo fleet.
set -e
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset windows >/dev/null && cmake --build --preset windows
cmake --preset native >/dev/null && cmake --build --preset native
