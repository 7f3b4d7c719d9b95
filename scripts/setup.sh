#!/bin/sh
# Installs what building, running and testing need and is not there yet.
# Wine's 32-bit side (wine32:i386) runs the x86 build's programs and the
# 32-bit installer stub; it comes before any Wine prefix is made, since a
# prefix made by wine64 alone has no syswow64 (cmake/wine-prefix.sh makes
# such a prefix again).
set -e
packages="cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev libgmock-dev
  libssl-dev g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev nsis zip unzip fonts-wine openbox
  wine wine64 wine32:i386 xvfb xauth x11-utils xdotool imagemagick util-linux
  iproute2 ethtool busybox isc-dhcp-client dhcpcd-base dnsmasq-base systemd tshark nftables"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "Installing:$missing"
dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
$sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing >/dev/null
