#!/bin/sh
# Sets up, builds the Windows and native presets and runs every test:
# native tests under AddressSanitizer and UndefinedBehaviorSanitizer, the
# threaded ones again under ThreadSanitizer, Windows tests under Wine, a
# short run of every fuzzer, and the formatting check.
# Leaves nothing running when it ends, also after a failure or an interrupt.
set -e
cd "$(dirname "$0")/.."
scripts/setup.sh

. scripts/xvfb.sh
results=$(mktemp)

# Every process this run started that still runs (ctest, a program under
# Wine, xvfb-run and its Xvfb), parents first: a killed ctest starts no
# further test.
descendants() {
    for child in $(ps -o pid= --ppid "$1"); do
        echo "$child"
        descendants "$child"
    done
}
cleanup() {
    trap - EXIT INT TERM HUP
    for pid in $(descendants $$); do
        kill "$pid" 2>/dev/null || true
    done
    # Wine's servers leave their caller's process tree: one per prefix used.
    for prefix in build/windows/wineprefix build/windows/wineprefix-netns \
        build/windows/wineprefix-package; do
        [ -d "$prefix" ] && WINEPREFIX="$PWD/$prefix" wineserver -k 2>/dev/null || true
    done
    stop_xvfb
    rm -f "$results"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

for preset in windows windows-x86 native native-debug native-tsan; do
    echo "== build $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done

# One virtual display for all Wine tests when there is none.
[ -n "$DISPLAY" ] || start_xvfb

status=0
run_ctest() {
    log=$(mktemp)
    ctest "$@" --output-log "$log" || status=1
    cat "$log" >>"$results"
    rm -f "$log"
}
echo "== native tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
run_ctest --preset native-debug -j 2
echo "== threaded tests (ThreadSanitizer)"
run_ctest --preset native-tsan -j 2
echo "== Windows tests under Wine"
# Make the Wine prefix before the tests, so that no test waits for it.
cmake/wine-prefix.sh "$PWD/build/windows/wineprefix"
run_ctest --preset windows
echo "== x86 build: its binaries checked; its tests under Wine where 32-bit programs run"
cmake/wine32-check.sh | sed 's/^/x86 tests skipped: /' || true
run_ctest --preset windows-x86
echo "== fuzzers, short run"
fuzz/run-fuzzers.sh "${VANTREL_FUZZ_SECONDS:-10}" || status=1
echo "== formatting"
format=passed
scripts/check-format.sh || { format=failed; status=1; }

# One closing line for all test runs, the formatting check counted as one test.
awk -v format="$format" '/tests passed, [0-9]+ tests failed out of/ {
        failed += $4; total += $NF
    } END {
        total += 1; if (format == "failed") failed += 1
        printf "%d passed, %d failed\n", total - failed, failed
    }' "$results"
exit $status
