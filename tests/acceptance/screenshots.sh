#!/bin/sh
# Refreshes docs/screenshot-{main,configure,about,advanced}.png: runs the
# acceptance scenarios that open those windows with VANTREL_SCREENSHOTS set,
# then turns the saved bitmaps into PNG files. Needs a built Windows preset.
set -e
cd "$(dirname "$0")/../.."
work=$(mktemp -d)
. scripts/xvfb.sh
cleanup() {
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
[ -n "$DISPLAY" ] || start_xvfb

VANTREL_SCREENSHOTS="$work" cmake/wine-run.sh "$PWD/build/windows/wineprefix" \
    build/windows/bin/acceptance_test.exe \
    --gtest_filter='Acceptance.StartUp*:Acceptance.ConfigureWithoutSalt*:Acceptance.AboutBox*:Acceptance.AdvancedSettings*'
for name in main configure about advanced; do
    convert "$work/$name.bmp" -strip "docs/screenshot-$name.png"
    echo "docs/screenshot-$name.png"
done
