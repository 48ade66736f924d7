#!/bin/sh
# Prints the Wine architecture the tests run under: win32 when this machine
# runs 32-bit programs, else win64 (some kernels run 64-bit code only; the
# tests then use an x86_64 build of the same sources).
if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo win32
else
  echo win64
fi
