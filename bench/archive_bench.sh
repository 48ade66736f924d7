#!/bin/sh
# Packs and unpacks a mixed tree of about 50 MB with our UNLHA32.DLL and
# TAR32.DLL (under Wine, called as the program calls them) and with the
# native tools on the same files (lhasa to unpack LZH, jlha to pack it,
# tar with gzip both ways), and prints the times and their ratios.
#   sh bench/archive_bench.sh [BUILD]      (BUILD defaults to build)
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
arch=$(sh "$here/tools/wine-arch.sh")
[ "$arch" = win32 ] || build="$build/x64"
work=$(mktemp -d /tmp/kestrum-archive-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
src="$work/src"
mkdir -p "$src/text" "$src/bin" "$src/packed"
# Text: 20 MB of varied lines.
python3 - "$src/text" <<'PY'
import random, sys
random.seed(5)
words = "archive member header window huffman table block entry name size date ratio".split()
for i in range(40):
    with open(f"{sys.argv[1]}/t{i:02}.txt", "w") as f:
        n = 0
        while n < 500000:
            line = " ".join(random.choice(words) for _ in range(random.randint(3, 12))) + f" {random.randint(0, 99999)}\n"
            f.write(line); n += len(line)
PY
# Binaries: 15 MB of programs and libraries.
n=0
for f in /usr/bin/* /usr/lib/x86_64-linux-gnu/*.so*; do
  [ -f "$f" ] && [ ! -L "$f" ] || continue
  s=$(stat -c %s "$f"); [ "$s" -lt 3000000 ] || continue
  cp "$f" "$src/bin/" 2>/dev/null || continue
  n=$((n + s)); [ "$n" -lt 15000000 ] || break
done
# Already compressed: 15 MB of gzip data.
python3 - "$src/packed" <<'PY'
import gzip, os, sys
for i in range(15):
    with open(f"{sys.argv[1]}/p{i:02}.gz", "wb") as f:
        f.write(gzip.compress(os.urandom(700000) + bytes(300000)))
PY
size=$(du -sb "$src" | cut -f1)
echo "tree: $(find "$src" -type f | wc -l) files, $((size / 1048576)) MB; load: $(cut -d' ' -f1-3 /proc/loadavg)"

secs() { s=$(date +%s.%N); "$@" >/dev/null 2>&1; e=$(date +%s.%N); echo "$e - $s" | bc; }

echo "== ours (DLLs under Wine, $arch) =="
ours=$("$here/tools/wine-run.sh" --arch="$arch" --timeout=1800 "$build/bin/archive_bench.exe" "Z:$src" "Z:$work/ours")
echo "$ours"
get() { echo "$ours" | awk -v k="$1" '$0 ~ k {print $(NF-3)}'; }
lp=$(get "lzh pack"); lu=$(get "lzh unpack"); tp=$(get "tgz pack"); tu=$(get "tgz unpack")

echo "== native peers =="
mkdir -p "$work/lhasa-out" "$work/tar-out"
nlu=$(cd "$work/lhasa-out" && secs lhasa xq "$work/ours/ours.lzh")
nlp=""
if command -v jlha >/dev/null; then nlp=$(cd "$src" && secs jlha c "$work/jlha.lzh" text bin packed); fi
ntp=$(secs tar -czf "$work/native.tgz" -C "$src" .)
ntu=$(secs tar -xzf "$work/native.tgz" -C "$work/tar-out")
printf 'lhasa unpack %8.2f s\njlha pack    %8.2f s\ntar+gzip pack   %5.2f s\ntar+gzip unpack %5.2f s\n' \
  "$nlu" "${nlp:-0}" "$ntp" "$ntu"
# Byte-exact round trips.
diff -r "$src" "$work/lhasa-out" >/dev/null && echo "lhasa unpacks our LZH byte-exact" || echo "MISMATCH: lhasa output differs"
diff -r "$src" "$work/ours/lzh-out" >/dev/null && echo "our LZH round trip byte-exact" || echo "MISMATCH: our LZH output differs"
diff -r "$src" "$work/ours/tgz-out" >/dev/null && echo "our tgz round trip byte-exact" || echo "MISMATCH: our tgz output differs"

echo "== ratios (ours / native; targets: unpack <= 1.5, pack <= 2) =="
ratio() { echo "scale=2; $1 / $2" | bc; }
echo "lzh unpack: $(ratio "$lu" "$nlu")   (vs lhasa)"
[ -n "$nlp" ] && echo "lzh pack:   $(ratio "$lp" "$nlp")   (vs jlha; lhasa cannot pack)"
echo "tgz unpack: $(ratio "$tu" "$ntu")   (vs tar -xzf)"
echo "tgz pack:   $(ratio "$tp" "$ntp")   (vs tar -czf)"
ls -l "$work/ours/ours.lzh" "$work/ours/ours.tgz" "$work/native.tgz" ${nlp:+"$work/jlha.lzh"} | awk '{print $5, $9}'
