#!/bin/sh
# Builds the x64 and the x86 release (tool, zova.dll, simulator, without the
# tests) and writes their packages to dist/: for each, a portable zip, an
# installer, and a .sha256 file beside each; then lists what it wrote.
set -e
cd "$(dirname "$0")/.."
scripts/setup.sh
rm -rf dist
mkdir dist
for arch in x64 x86; do
    case $arch in
    x64) toolchain=cmake/toolchain-mingw64.cmake ;;
    x86) toolchain=cmake/toolchain-mingw32.cmake ;;
    esac
    build=build/package-$arch
    echo "== build $arch"
    cmake -S . -B "$build" -G Ninja --toolchain "$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DVANTREL_TESTS=OFF >/dev/null
    cmake --build "$build"
    rm -rf "$build/package"
    (cd "$build" && cpack --config CPackConfig.cmake >cpack.log) || {
        cat "$build/cpack.log" >&2
        exit 1
    }
    cp "$build"/package/VantrelConfig-* dist/
done
echo "== dist/"
(cd dist && ls -l && sha256sum -c --quiet ./*.sha256 && echo "sums: all match")
