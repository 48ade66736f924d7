#!/bin/sh
# Runs Kestrum under a virtual X display with Wine's normal display driver
# and saves a PNG of the screen.
#   screenshot.sh [--arch win32|win64] [--cfg FILE] [--keys "CMD;CMD..."] [--out FILE.png]
# --keys takes kdrive commands separated by ";" (for example
# "key ctrl+up;type ls;key RETURN"), run after the shell window shows.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
arch=$("$here/wine-arch.sh")
cfg=""
keys=""
out="$root/build/screenshot.png"
while [ $# -gt 0 ]; do
  case "$1" in
    --arch) arch=$2; shift 2 ;;
    --cfg) cfg=$2; shift 2 ;;
    --keys) keys=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    *) echo "usage: screenshot.sh [--arch A] [--cfg FILE] [--keys CMDS] [--out FILE.png]" >&2; exit 2 ;;
  esac
done
if [ "$arch" = win32 ]; then bin="$root/build/bin"; else bin="$root/build/x64/bin"; fi
[ -f "$bin/Kestrum.exe" ] || { echo "screenshot: build first (make)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/kestrum-shot.XXXXXX")
trap 'rm -rf "$work"' EXIT
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
{
  if [ -n "$cfg" ]; then
    cp "$cfg" "$work/run.cfg"
    # The key files named like the settings file: those beside it, else the shipped ones.
    for ext in WK TVK; do
      own="${cfg%.*}.$ext"
      if [ -f "$own" ]; then cp "$own" "$work/run.$ext"; else cp "$bin/Kestrum.$ext" "$work/run.$ext"; fi
    done
    printf 'start Kestrum.exe "%s"\r\n' "$(winpath "$work/run.cfg")"
  else
    printf 'start Kestrum.exe\r\n'
  fi
  printf 'wait-window TfrmMain\r\nfocus TfrmMain\r\nsleep 500\r\n'
  if [ -n "$keys" ]; then
    # kdrive reads its script in the program's code page.
    printf '%s\n' "$keys" | tr ';' '\n' | sed 's/^ *//; s/$/\r/' | iconv -f UTF-8 -t CP932
    printf 'sleep 700\r\n'
  fi
  printf 'shot "%s"\r\nclose\r\n' "$(winpath "$work/shot.bmp")"
} >"$work/script.txt"

xvfb-run -a -s "-screen 0 1024x768x24" \
  "$here/wine-run.sh" --display=x11 --arch="$arch" "$bin/kdrive.exe" "$(winpath "$work/script.txt")"
mkdir -p "$(dirname "$out")"
convert "$work/shot.bmp" "$out"
echo "screenshot: $out"
