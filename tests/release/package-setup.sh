#!/bin/sh
# Makes the packages of a built Windows tree with CPack, unpacks the zip the
# way a user would, and removes the package tests' Wine prefix, so that they
# start in a fresh one.
# Usage: package-setup.sh CPACK BUILD_DIR PACKAGE_DIR PREFIX
set -e
cpack=$1 build=$2 packages=$3 prefix=$4
[ -d "$prefix" ] && WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
rm -rf "$packages" "$prefix"
(cd "$build" && "$cpack" --config CPackConfig.cmake >"$build/cpack.log" 2>&1) || {
    cat "$build/cpack.log"
    exit 1
}
ls -l "$packages"
mkdir "$packages/unpacked"
unzip -q "$packages"/VantrelConfig-*-win64.zip -d "$packages/unpacked"
