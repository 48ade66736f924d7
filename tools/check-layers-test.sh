#!/bin/sh
# Tests tools/check-layers.sh on small trees made for the purpose: a tree
# that keeps the order passes; an include upwards, one sideways, a Win32
# header or a project "_win" header in a core file and a "_win" source in a
# CORE list, named there or through a variable, each fail with the offending
# file and line.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# A tree that keeps the order.
clean() {
  rm -rf "$work/tree"
  mkdir -p "$work/tree/common" "$work/tree/config" "$work/tree/shell" "$work/tree/filer" "$work/tree/app"
  printf '#pragma once\n' >"$work/tree/common/text.h"
  printf '#include "config/settings.h"\n#include "common/text.h"\n' >"$work/tree/config/settings.cpp"
  printf '#include <windows.h>\n#include "config/settings.h"\n' >"$work/tree/shell/box_win.cpp"
  printf '#include "filer/list.h"\n#include "config/settings.h"\n' >"$work/tree/filer/list.cpp"
  printf '#include <windows.h>\n#include "shell/box_win.h"\n#include "filer/list.h"\n' >"$work/tree/app/main_win.cpp"
  # A variable that names only core sources may stand in a CORE list.
  printf 'set(CORE_EXTRA config/extra_native.cpp)\nkestrum_layer(config\n  CORE config/settings.cpp ${CORE_EXTRA}\n  WIN config/dialog_win.cpp\n  DEPS common)\n' \
    >"$work/tree/CMakeLists.txt"
}

# expect PASS|FAIL [TEXT]: runs the check on the tree; a failure must name TEXT.
expect() {
  if out=$(sh "$here/check-layers.sh" "$work/tree" 2>&1); then got=PASS; else got=FAIL; fi
  if [ "$got" != "$1" ]; then
    echo "check-layers-test: $case: expected $1, got $got" >&2
    printf '%s\n' "$out" >&2
    failures=$((failures + 1))
  elif [ -n "${2:-}" ] && ! printf '%s\n' "$out" | grep -qF "$2"; then
    echo "check-layers-test: $case: the report does not name $2:" >&2
    printf '%s\n' "$out" >&2
    failures=$((failures + 1))
  fi
}

case="a tree in order"
clean
expect PASS

case="an include upwards"
clean
printf '#include "config/settings.h"\n#include "shell/box_win.h"\n' >"$work/tree/config/settings.cpp"
expect FAIL 'config/settings.cpp:2: #include "shell/box_win.h"'

case="the application included from below"
clean
printf '#include "app/main_win.h"\n' >"$work/tree/common/text.h"
expect FAIL 'common/text.h:1: #include "app/main_win.h"'

case="an include sideways"
clean
printf '#include "filer/list.h"\n#include "shell/box_win.h"\n' >"$work/tree/filer/list.cpp"
expect FAIL 'filer/list.cpp:2: #include "shell/box_win.h"'

case="a Win32 header in a core file"
clean
printf '#include <windows.h>\n' >"$work/tree/config/settings.cpp"
expect FAIL 'config/settings.cpp:1: #include <windows.h>'

case="a Win32 source in a CORE list"
clean
printf 'kestrum_layer(config\n  CORE config/settings.cpp\n       config/dialog_win.cpp\n  DEPS common)\n' \
  >"$work/tree/CMakeLists.txt"
expect FAIL 'CMakeLists.txt:3: config/dialog_win.cpp'

case="a project Win32 header in a core file"
clean
printf '#include "common/text.h"\n#include "common/handles_win.h"\n' >"$work/tree/config/settings.cpp"
expect FAIL 'config/settings.cpp:2: #include "common/handles_win.h"'

case="a project Win32 header of its own folder in a core header"
clean
printf '#pragma once\n#include "common/text_win.h"\n' >"$work/tree/common/text.h"
expect FAIL 'common/text.h:2: #include "common/text_win.h"'

case="COM's header in a core file"
clean
printf '#include "common/text.h"\n#include <objbase.h>\n' >"$work/tree/config/settings.cpp"
expect FAIL 'config/settings.cpp:2: #include <objbase.h>'

case="the shell's path helpers in a core file"
clean
printf '#include <shlwapi.h>\n' >"$work/tree/filer/list.cpp"
expect FAIL 'filer/list.cpp:1: #include <shlwapi.h>'

case="a Win32 header spelt in capitals in a core file"
clean
printf '#include <Windows.h>\n' >"$work/tree/filer/list.cpp"
expect FAIL 'filer/list.cpp:1: #include <Windows.h>'

case="a Win32 source in a CORE list through a variable"
clean
printf 'if(NATIVE)\n  set(PLATFORM_X config/x_native.cpp)\nelse()\n  set(PLATFORM_X config/x_win.cpp)\nendif()\nkestrum_layer(config\n  CORE config/settings.cpp\n       ${PLATFORM_X}\n  DEPS common)\n' \
  >"$work/tree/CMakeLists.txt"
expect FAIL 'CMakeLists.txt:8: ${PLATFORM_X} brings config/x_win.cpp (set at line 4)'

case="a Win32 source in a CORE list through a variable set over lines and through another"
clean
printf 'set(INNER\n  config/a.cpp\n  config/b_win.cpp)\nlist(APPEND OUTER config/c.cpp ${INNER})\nkestrum_layer(config\n  CORE config/settings.cpp ${OUTER}\n  DEPS common)\n' \
  >"$work/tree/CMakeLists.txt"
expect FAIL 'CMakeLists.txt:6: ${OUTER} brings config/b_win.cpp (set at line 4)'

if [ "$failures" -ne 0 ]; then
  echo "check-layers-test: $failures case(s) failed" >&2
  exit 1
fi
echo "check-layers-test: all cases passed"
