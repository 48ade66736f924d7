#!/bin/sh
# Installs what building, running and testing need, when it is missing
# (Debian 12). Safe to run again: it only calls apt when something is absent.
set -eu
pkgs="make cmake g++ git wine wine64 wine32:i386 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
googletest xvfb xauth locales imagemagick fonts-ipafont-gothic fonts-wine libz-mingw-w64-dev libstb-dev
zlib1g-dev lhasa jlha-utils zip python3 clang libclang-rt-14-dev"
missing=""
for p in $pkgs; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
need_arch=0
dpkg --print-foreign-architectures | grep -qx i386 || need_arch=1
[ -z "$missing" ] && [ "$need_arch" = 0 ] && exit 0

sudo=""
[ "$(id -u)" = 0 ] || sudo="sudo"
echo "setup: installing$missing" >&2
[ "$need_arch" = 0 ] || $sudo dpkg --add-architecture i386
$sudo apt-get update -qq
# wine32's helpers fail to run on kernels without 32-bit support; the
# package is installed all the same and apt reports success.
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing >/dev/null
