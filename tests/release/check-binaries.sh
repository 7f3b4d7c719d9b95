#!/bin/sh
# Checks the built programs and zova.dll of one Windows build, as shipped:
# the machine type, a runtime linked in (no MinGW DLL imported), zova.dll's
# eight functions exported under their plain C names and imported so by the
# tool, and the version resources (tool 1.4.0.0, library 1.1.x).
# Usage: check-binaries.sh MINGW_PREFIX MACHINE TOOL DLL [PROGRAM...]
# MACHINE: x86-64 or i386 (objdump's "pei-" format names).
prefix=$1 machine=$2 tool=$3 dll=$4
shift 2
objdump=$prefix-objdump
windres=$prefix-windres
failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}
functions="ZOVA_GetInvPswdMacId ZOVA_GetResponse ZOVA_RegisterCallBack ZOVA_RemoveFirstInvPswdMacId
ZOVA_SendConfigure ZOVA_SendModuleScan ZOVA_SendWink ZOVA_Start"
expected=$(echo $functions | tr ' ' '\n')

for file in "$@"; do
    [ -n "$file" ] || continue  # a program this build does not have
    name=$(basename "$file")
    format=$($objdump -f "$file" | sed -n 's/.*file format //p')
    [ "$format" = "pei-$machine" ] || fail "$name: file format '$format', not pei-$machine"
    dlls=$($objdump -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p')
    echo "$name: pei-$machine, imports $(echo $dlls)"
    for runtime in libstdc++-6.dll libgcc_s_seh-1.dll libgcc_s_dw2-1.dll libwinpthread-1.dll; do
        echo "$dlls" | grep -qix "$runtime" && fail "$name imports $runtime: the runtime is not linked in"
    done
done

# The export name table: exactly the eight names, undecorated.
exports=$($objdump -p "$dll" | awk '/^\[Ordinal\/Name Pointer\] Table/ { on = 1; next }
    on && /^\t\[/ { print $NF; next } on { exit }' | sort)
echo "zova.dll exports: $(echo $exports)"
[ "$exports" = "$expected" ] || fail "zova.dll exports '$(echo $exports)', not '$(echo $functions)'"

# What the tool takes from zova.dll: the same plain names.
imported=$($objdump -p "$tool" | awk '/DLL Name:/ { on = tolower($NF) == "zova.dll"; next }
    on && /^$/ { on = 0 } on && NF == 3 && $1 ~ /^[0-9a-f]+$/ { print $NF }' | sort)
echo "the tool imports from zova.dll: $(echo $imported)"
[ -n "$imported" ] || fail "the tool imports nothing from zova.dll"
for function in $imported; do
    echo "$expected" | grep -qx "$function" || fail "the tool imports '$function' from zova.dll"
done

# FILEVERSION as windres prints the resources back.
version_of() {
    $windres -i "$1" -o "$work/resources.rc" 2>/dev/null &&
        sed -n 's/^[[:space:]]*FILEVERSION[[:space:]]*//p' "$work/resources.rc" | tr -d ' \r'
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tool_version=$(version_of "$tool")
dll_version=$(version_of "$dll")
echo "versions: tool $tool_version, zova.dll $dll_version"
[ "$tool_version" = "1,4,0,0" ] || fail "the tool's version is '$tool_version', not 1,4,0,0"
case "$dll_version" in
1,1,*) ;;
*) fail "zova.dll's version is '$dll_version', not 1.1.x" ;;
esac
exit $failed
