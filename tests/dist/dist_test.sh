#!/bin/sh
# The release archive: made from the build, unpacked into an empty folder,
# checked file by file, and the program started from there under Wine.
#   dist_test.sh BUILD
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$(dirname "$here")")
build=$(cd "$1" && pwd)
cmake=${CMAKE:-cmake}
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
objcopy=${OBJCOPY:-i686-w64-mingw32-objcopy}

passed=0
failed=0
check() {  # check WHAT COMMAND...
  what=$1; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $what" >&2; fi
}

sh "$root/tools/dist.sh" "$build" >/dev/null
version=$(sed -n 's/^#define KESTRUM_VERSION_TEXT "\([^"]*\)".*/\1/p' "$root/shell/version.h")
zip=$build/Kestrum-$version.zip
debug=$build/Kestrum-$version-debug
work=$(mktemp -d "${TMPDIR:-/tmp}/kestrum-dist.XXXXXX")
trap 'rm -rf "$work"' EXIT
(cd "$work" && "$cmake" -E tar xf "$zip")
dir=$work/Kestrum-$version

# The libraries and plug-ins built beside the program travel with it.
libs=$(cd "$build/bin" && ls | grep -i -E '[.](dll|spi)$' || true)
expected=$({ printf './%s\n' Kestrum.Cfg Kestrum.Col Kestrum.Key Kestrum.TVK Kestrum.WK Kestrum.exe README.txt \
  licenses/GPL-3.txt licenses/gcc-runtime.txt licenses/mingw-w64-runtime.txt licenses/zlib.txt
  for l in $libs; do printf './%s\n' "$l"; done; } | LC_ALL=C sort)
actual=$(cd "$dir" && find . -type f | LC_ALL=C sort)
check "the archive holds exactly the program, its settings files, README.txt and the licences" \
  test "$actual" = "$expected"

for f in Kestrum.Cfg Kestrum.Col Kestrum.Key Kestrum.TVK Kestrum.WK; do
  check "$f is the one the build ships" cmp -s "$dir/$f" "$build/bin/$f"
done

# README.txt: Shift-JIS with CR LF on every line, naming this version.
crlf() { ! tr -d '\r\n' <"$1" | cmp -s - /dev/null && [ "$(grep -c "$(printf '\r')\$" "$1")" = "$(wc -l <"$1")" ]; }
check "README.txt ends every line with CR LF" crlf "$dir/README.txt"
readme=$(iconv -f CP932 -t UTF-8 "$dir/README.txt" 2>/dev/null || true)
check "README.txt is Shift-JIS and names the version" \
  sh -c 'printf "%s" "$1" | grep -q "^Kestrum $2" && printf "%s" "$1" | grep -q "起動のしかた"' - "$readme" "$version"
check "README.txt is not UTF-8" sh -c '! grep -q "起動" "$1"' - "$dir/README.txt"

# The program and the libraries carry no debug information, only a link to
# the file that holds it, beside the archive and not in it.
for f in Kestrum.exe $libs; do
  sections=$("$objdump" -h "$dir/$f")
  check "$f is stripped" sh -c '! printf "%s" "$1" | grep -q "\.debug_"' - "$sections"
  check "$f links its debug file" sh -c 'printf "%s" "$1" | grep -q "\.gnu_debuglink"' - "$sections"
  "$objcopy" --dump-section .gnu_debuglink="$work/link" "$dir/$f" "$work/copy" 2>/dev/null || : >"$work/link"
  check "the debug link of $f names $f.debug" test "$(tr '\0' '\n' <"$work/link" | head -n 1)" = "$f.debug"
  check "$f.debug holds the debug information" sh -c "$objdump -h \"\$1\" | grep -q '\.debug_info'" - "$debug/$f.debug"
done

# Started from the unpacked folder, the program shows its window and closes
# cleanly. (Were a settings, key or colour file missing there, it would
# stop at a question before showing its window.)
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
printf 'start "%s"\r\nwait-window TfrmMain\r\nclose\r\nexit-code\r\n' "$(winpath "$dir/Kestrum.exe")" >"$work/script.txt"
out=$(sh "$root/tools/wine-run.sh" --arch=win32 --timeout=120 "$build/bin/kdrive.exe" "$(winpath "$work/script.txt")" 2>&1) \
  && code=0 || code=$?
check "the unpacked program starts, shows its window and closes (kdrive: $out)" \
  sh -c '[ "$1" = 0 ] && [ "$2" = 0 ]' - "$code" "$(printf '%s' "$out" | tr -d '\r' | tail -n 1)"

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
