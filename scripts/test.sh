#!/bin/sh
# Sets up, builds and runs every test: the native tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, the threaded ones again
# under ThreadSanitizer, the x64 and the x86 build's tests under Wine, a short
# run of every fuzzer, and the formatting check. Ends with one line per run
# and then "N passed, N failed, N skipped" over all of them.
# Leaves nothing running when it ends, also after a failure or an interrupt.
set -e
cd "$(dirname "$0")/.."
scripts/setup.sh

. scripts/xvfb.sh
counts=$(mktemp)

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
    for prefix in build/windows*/wineprefix*; do
        [ -f "$prefix/system.reg" ] && WINEPREFIX="$PWD/$prefix" wineserver -k 2>/dev/null || true
    done
    stop_xvfb
    rm -f "$counts"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

started=$(date +%s)
phase() {
    echo "== $* ($(($(date +%s) - started)) s)"
}

# What each run needs: both Windows builds whole; of the native ones the
# simulator (the namespace tests' devices), every test under ASan and UBSan,
# and the threaded tests under TSan.
for build in "windows" "windows-x86" "native --target vantrel-devsim" "native-debug" \
    "native-tsan --target threaded_tests"; do
    set -- $build
    preset=$1
    shift
    phase "build $build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" "$@"
done

# One virtual display for all Wine tests when there is none.
[ -n "$DISPLAY" ] || start_xvfb

status=0
# run_ctest LABEL CTEST_ARGS...: one line "LABEL: N passed, N failed, N
# skipped" from CTest's own record of the run; a run that leaves no record
# counts as one failure. CTest records a test that could not run (a missing
# program, a failed fixture, a missing required file) as skipped; only a
# test that ran and asked to be skipped, or a disabled one, counts so here.
run_ctest() {
    label=$1
    shift
    junit=$(mktemp)
    ctest "$@" --output-junit "$junit" || status=1
    if [ -s "$junit" ]; then
        awk -v label="$label" '
            function settle() {
                if (state == "run") passed++
                else if (state == "disabled" || skip ~ /^SKIP_(RETURN_CODE|REGULAR_EXPRESSION)/) skipped++
                else if (state != "") failed++
                state = ""; skip = ""
            }
            /<testcase / { settle(); state = $0; sub(/.*status="/, "", state); sub(/".*/, "", state) }
            /<skipped message="/ { skip = $0; sub(/.*message="/, "", skip) }
            END { settle(); printf "%s: %d passed, %d failed, %d skipped\n", label,
                  passed, failed, skipped }' "$junit" >>"$counts"
    else
        echo "$label: 0 passed, 1 failed, 0 skipped" >>"$counts"
        status=1
    fi
    rm -f "$junit"
}
phase "native tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
run_ctest "native-debug, ASan and UBSan" --preset native-debug -j 2
phase "threaded tests again (ThreadSanitizer)"
run_ctest "native-tsan, the threaded tests" --preset native-tsan -j 2 -L threads
phase "x64 tests under Wine"
# Make the Wine prefixes before the tests, so that no test waits for them.
cmake/wine-prefix.sh "$PWD/build/windows/wineprefix"
run_ctest "windows (x64) under Wine, a test per case" --preset windows
phase "x86 tests under Wine"
cmake/wine32-check.sh || true
cmake/wine-prefix.sh "$PWD/build/windows-x86/wineprefix"
run_ctest "windows-x86 under Wine, a test per program" --preset windows-x86
phase "fuzzers, short run"
fuzz_log=$(mktemp)
fuzz/run-fuzzers.sh "${VANTREL_FUZZ_SECONDS:-10}" | tee "$fuzz_log" || status=1
fuzz_line=$(sed -n 's/^fuzz targets: \(.*\) failed$/\1/p' "$fuzz_log")
echo "fuzz targets: ${fuzz_line:-0 passed, 1} failed, 0 skipped" >>"$counts"
rm -f "$fuzz_log"
phase "formatting"
if scripts/check-format.sh; then
    echo "formatting: 1 passed, 0 failed, 0 skipped" >>"$counts"
else
    echo "formatting: 0 passed, 1 failed, 0 skipped" >>"$counts"
    status=1
fi
phase "done"

cat "$counts"
awk '{ n = split($0, part, ": "); split(part[n], count, ", ")
        passed += count[1]; failed += count[2]; skipped += count[3] }
    END { printf "%d passed, %d failed, %d skipped\n", passed, failed, skipped }' "$counts"
exit $status
