#!/bin/sh
# Builds the libFuzzer targets in build/fuzz and runs each for a bounded time.
# Usage: fuzz/run-fuzzers.sh [SECONDS] [NAME...]
#   SECONDS  time per target (default 20)
#   NAME     targets to run (default: every target in fuzz/CMakeLists.txt)
# New inputs go to build/fuzz/corpus/NAME, crashes to build/fuzz/artifacts/NAME;
# the seeds in fuzz/corpus/NAME are only read. Ends with the line
# "fuzz targets: N passed, N failed"; exit status 1 if any target failed.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
[ $# -gt 0 ] && shift
build=$root/build/fuzz
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_FUZZ=ON \
    -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$build" -j2 --target vantrel_fuzzers

[ $# -gt 0 ] || set -- $(cat "$build/fuzz/fuzzers.txt")
failed=""
count=0
for name in "$@"; do
    work=$build/corpus/$name
    artifacts=$build/artifacts/$name
    mkdir -p "$work" "$artifacts" "$root/fuzz/corpus/$name"
    echo "== $name: $seconds s"
    count=$((count + 1))
    # timeout is a backstop should the target hang outside libFuzzer's clock.
    if ! timeout $((seconds + 60)) "$build/bin/$name" -max_total_time="$seconds" \
            -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
            -artifact_prefix="$artifacts/" "$work" "$root/fuzz/corpus/$name"; then
        failed="$failed $name"
    fi
done
failures=$(echo $failed | wc -w)
# The last line, read by the test command: each target counts as one test.
if [ -n "$failed" ]; then
    echo "FAILED:$failed (inputs in $build/artifacts)" >&2
fi
echo "fuzz targets: $((count - failures)) passed, $failures failed"
[ -z "$failed" ]
