#!/bin/sh
# Runs a Windows test program under a virtual X display with Wine's X11
# driver, where a notification area exists (the null driver has none).
#   xvfb-test.sh [--arch=win32|win64] prog.exe [args...]
# Exits 77 (a skipped test for CTest) with a message when Xvfb is missing.
set -eu
here=$(cd "${0%/*}" && pwd)
arch=win32
case "${1:-}" in --arch=*) arch=${1#--arch=}; shift ;; esac
if ! command -v xvfb-run >/dev/null 2>&1 || ! command -v Xvfb >/dev/null 2>&1 \
   || ! command -v xauth >/dev/null 2>&1; then
  echo "xvfb-test: skipped, Xvfb is not installed (tools/setup.sh installs xvfb and xauth)"
  exit 77
fi
base=${KESTRUM_WINE_DIR:-${here%/*}/build/wine}
# Inside the display: the program, then the prefix's Wine server is let go
# before the display goes, so that the next run finds no server bound to a
# display that no longer exists.
export KESTRUM_XVFB_ARCH="$arch" KESTRUM_XVFB_PREFIX="$base/$arch-x11" KESTRUM_XVFB_RUN="$here/wine-run.sh"
exec xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
  set +e
  "$KESTRUM_XVFB_RUN" --display=x11 --arch="$KESTRUM_XVFB_ARCH" "$@"
  rc=$?
  WINEPREFIX="$KESTRUM_XVFB_PREFIX" timeout 30 wineserver -w >/dev/null 2>&1
  exit $rc' xvfb-test "$@"
