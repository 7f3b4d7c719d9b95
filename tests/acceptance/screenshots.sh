#!/bin/sh
# Refreshes docs/screenshot-{main,configure,about,advanced}.png: runs the
# acceptance scenarios that open those windows with VANTREL_SCREENSHOTS set,
# then turns the saved bitmaps into PNG files. Needs a built Windows preset.
# The windows are shown as a user sees them, framed and with their titles:
# on a private virtual display with a small window manager (openbox), in a
# Wine prefix of their own that lets the window manager manage its windows.
set -e
cd "$(dirname "$0")/../.."
work=$(mktemp -d)
prefix="$PWD/build/windows/wineprefix-screenshots"
wm_pid=""
. scripts/xvfb.sh
cleanup() {
    [ -d "$prefix" ] && WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
start_xvfb
openbox >/dev/null 2>&1 &
wm_pid=$!
for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
done

VANTREL_SCREENSHOTS="$work" cmake/wine-run.sh "$prefix" \
    build/windows/bin/acceptance_test.exe \
    --gtest_filter='Acceptance.StartUp*:Acceptance.ConfigureWithoutSalt*:Acceptance.AboutBox*:Acceptance.AdvancedSettings*'
for name in main configure about advanced; do
    convert "$work/$name.bmp" -strip "docs/screenshot-$name.png"
    echo "docs/screenshot-$name.png"
done
