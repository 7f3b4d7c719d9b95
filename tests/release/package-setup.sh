#!/bin/sh
# Makes the packages of a built Windows tree with CPack, unpacks the zip the
# way a user would, and makes the package tests' Wine prefix afresh, so that
# nothing is installed in it before they start. In that prefix (and nowhere
# else) netsh.exe is the stand-in that records the firewall commands.
# Usage: package-setup.sh CPACK BUILD_DIR PACKAGE_DIR PACKAGE_NAME PREFIX WINE_RUN NETSH_STANDIN
set -e
cpack=$1 build=$2 packages=$3 name=$4 prefix=$5 wine_run=$6 standin=$7
[ -d "$prefix" ] && WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
rm -rf "$packages" "$prefix"
(cd "$build" && "$cpack" --config CPackConfig.cmake >"$build/cpack.log" 2>&1) || {
    cat "$build/cpack.log"
    exit 1
}
ls -l "$packages"
mkdir "$packages/unpacked"
unzip -q "$packages/$name.zip" -d "$packages/unpacked"

# Wine prefers its own netsh to a file in the system folder unless told so.
"$wine_run" "$prefix" reg add 'HKCU\Software\Wine\DllOverrides' /v netsh.exe /d native /f >/dev/null
for system in system32 syswow64; do
    cp "$standin" "$prefix/drive_c/windows/$system/netsh.exe"
done
