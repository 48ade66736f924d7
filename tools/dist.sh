#!/bin/sh
# Makes the release archive BUILD/Kestrum-<version>.zip from a built BUILD
# folder (the 32-bit build): the stripped Kestrum.exe and the libraries and
# plug-ins built beside it (*.dll, *.spi), the default settings files,
# README.txt (Shift-JIS, CR LF) and the licences of the code linked into
# them, all in a folder Kestrum-<version>/. The debug information stays out
# of the archive, beside it in BUILD/Kestrum-<version>-debug/ as FILE.debug
# for each FILE, which the stripped file names (GNU debug link) so that a
# debugger finds it for a crash report.
#   dist.sh [BUILD]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=$(cd "${1:-$root/build}" && pwd)
cmake=${CMAKE:-cmake}
objcopy=${OBJCOPY:-i686-w64-mingw32-objcopy}

# The version has one home: shell/version.h.
version=$(sed -n 's/^#define KESTRUM_VERSION_TEXT "\([^"]*\)".*/\1/p' "$root/shell/version.h")
[ -n "$version" ] || { echo "dist: no KESTRUM_VERSION_TEXT in shell/version.h" >&2; exit 1; }
name=Kestrum-$version
bin=$build/bin
for f in Kestrum.exe Kestrum.Cfg Kestrum.Key Kestrum.Col Kestrum.WK Kestrum.TVK; do
  [ -f "$bin/$f" ] || { echo "dist: $bin/$f is missing; build first" >&2; exit 1; }
done

stage=$build/dist
debug=$build/$name-debug
rm -rf "$stage" "$debug"
mkdir -p "$stage/$name/licenses" "$debug"
programs="Kestrum.exe $(cd "$bin" && ls | grep -i -E '[.](dll|spi)$' || true)"
for f in $programs; do
  "$objcopy" --only-keep-debug "$bin/$f" "$debug/$f.debug"
  # The debug link holds the debug file's name and checksum; objcopy reads
  # the file from the current folder.
  (cd "$debug" && "$objcopy" --strip-all --add-gnu-debuglink="$f.debug" "$bin/$f" "$stage/$name/$f")
done
for f in Kestrum.Cfg Kestrum.Key Kestrum.Col Kestrum.WK Kestrum.TVK; do
  cp "$bin/$f" "$stage/$name/$f"
done
sed "s/@VERSION@/$version/" "$root/dist/README.txt" | iconv -f UTF-8 -t CP932 | sed 's/$/\r/' >"$stage/$name/README.txt"
# Licence texts keep their own characters (UTF-8, with a byte-order mark
# where they hold more than ASCII, so that Notepad reads them right).
for f in "$root"/dist/licenses/*; do
  out=$stage/$name/licenses/$(basename "$f")
  if LC_ALL=C grep -q '[^ -~	]' "$f"; then printf '\357\273\277' >"$out"; else : >"$out"; fi
  sed 's/$/\r/' "$f" >>"$out"
done

rm -f "$build/$name.zip"
(cd "$stage" && "$cmake" -E tar cf "$build/$name.zip" --format=zip "$name")
echo "dist: $build/$name.zip (debug information in $debug/)"
