#!/bin/sh
# Checks that our archiver libraries export exactly the undecorated names
# the program looks up with GetProcAddress (no "_Name@16", no "Name@16").
#   check_exports.sh OBJDUMP BIN_DIR
set -eu
objdump=$1
bin=$2
fail=0
check() {
  file=$1; shift
  want=$(printf '%s\n' "$@" | sort)
  have=$("$objdump" -p "$bin/$file" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' \
         | sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p' | sort)
  if [ "$want" != "$have" ]; then
    echo "$file exports:"; echo "$have"; echo "expected:"; echo "$want"
    fail=1
  fi
}
check UNLHA32.DLL Unlha UnlhaGetRunning UnlhaSetBackGroundMode UnlhaOpenArchive UnlhaCloseArchive \
  UnlhaFindFirst UnlhaFindNext
check TAR32.DLL Tar TarGetRunning TarOpenArchive TarCloseArchive TarFindFirst TarFindNext TarQueryFunctionList
check AXZIP.SPI GetPluginInfo IsSupported GetArchiveInfo GetFileInfo GetFile
check ISH32.DLL Ish IshGetRunning
[ "$fail" = 0 ] && echo "1 passed, 0 failed" || { echo "0 passed, 1 failed"; exit 1; }
