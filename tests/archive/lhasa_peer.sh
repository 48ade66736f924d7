#!/bin/sh
# P in the filer (under Wine) makes an LZH archive that lhasa, an unpacker
# that is none of ours, tests and extracts byte for byte.
#   lhasa_peer.sh <source dir> <build dir>
set -eu
src=$1
build=$2
command -v lhasa >/dev/null 2>&1 || { echo "lhasa is not installed"; exit 77; }
command -v iconv >/dev/null 2>&1 || { echo "iconv is not installed"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/src" "$work/x"
winpath="Z:$(printf '%s' "$work" | tr / '\\')"
KESTRUM_ARCHIVE_PEER_DIR="$winpath" sh "$src/tools/wine-run.sh" --arch=win32 "$build/tests/win_tests.exe" \
  --gtest_filter=FilerArchiveTest.PackMarkedThenUnpackGivesTheSameFiles
[ -f "$work/packed.lzh" ] || { echo "no archive was made"; exit 1; }
lhasa t "$work/packed.lzh"
(cd "$work/x" && lhasa xq ../packed.lzh)
# Member names are Shift-JIS bytes on disk here; the originals are UTF-8.
made=0
(cd "$work/x" && find . -type f) >"$work/list"
while IFS= read -r f; do
  u=$(printf '%s' "$f" | iconv -f CP932 -t UTF-8)
  cmp "$work/x/$f" "$work/src/$u" || { echo "differs: $u"; exit 1; }
  made=$((made + 1))
done <"$work/list"
want=$(cd "$work/src" && find . -type f | wc -l)
[ "$made" -eq "$want" ] || { echo "lhasa gave $made files, $want were packed"; exit 1; }
echo "lhasa extracted $made files byte for byte"
