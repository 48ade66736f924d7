#!/bin/sh
# Starts Kestrum under Wine on the current display; without a display, on a
# virtual one, saving a screenshot to build/kestrum.png.
#   run.sh [win32|win64]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
arch=${1:-$("$here/wine-arch.sh")}
if [ "$arch" = win32 ]; then bin="$root/build/bin"; else bin="$root/build/x64/bin"; fi
if [ -n "${DISPLAY:-}" ]; then
  exec "$here/wine-run.sh" --display=x11 --arch="$arch" --timeout=86400 "$bin/Kestrum.exe"
fi
echo "run: no display; starting a virtual one for a screenshot" >&2
exec "$here/screenshot.sh" --arch "$arch" --out "$root/build/kestrum.png"
