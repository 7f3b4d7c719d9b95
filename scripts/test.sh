#!/bin/sh
# Sets up, builds the Windows and native presets and runs every test:
# native tests under AddressSanitizer and UndefinedBehaviorSanitizer, the
# threaded ones again under ThreadSanitizer, Windows tests under Wine, and a
# short run of every fuzzer.
set -e
cd "$(dirname "$0")/.."
scripts/setup.sh

for preset in windows native native-debug native-tsan; do
    echo "== build $preset"
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
results=$(mktemp)
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
run_ctest --preset windows
echo "== fuzzers, short run"
fuzz/run-fuzzers.sh "${VANTREL_FUZZ_SECONDS:-10}" || status=1

# One closing line for all three test runs.
awk '/tests passed, [0-9]+ tests failed out of/ {
        failed += $4; total += $NF
    } END { printf "%d passed, %d failed\n", total - failed, failed }' "$results"
rm -f "$results"
exit $status
