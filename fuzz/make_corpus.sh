#!/bin/sh
# Makes the seed corpus in fuzz/corpus again: the shipped settings files,
# the files the program's own writers make (seed_writer), archives made by
# the Debian peers (jlha, GNU tar and gzip, zip, Python's zipfile), texts
# in each code the viewer converts, small hand-written inputs, and broken
# copies of them (cut short, a header byte changed). Inputs kept from
# findings (named finding-*) stay as they are.
#   make_corpus.sh
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
sh fuzz/run.sh --build-only
corpus=$root/fuzz/corpus
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

find "$corpus" -type f ! -name 'finding-*' -delete 2>/dev/null || true
for t in $(cat build/fuzz/obj/fuzz/targets.txt); do mkdir -p "$corpus/$t"; done

# A seed for a target that takes a selector byte before the file.
seed() {  # TARGET NAME SELECTOR FILE
  { [ "$3" = - ] || printf "\\$(printf %03o "$3")"; cat "$4"; } >"$corpus/$1/$2"
}
# A copy cut to half its length, and one with a byte changed at OFFSET.
broken() {  # TARGET NAME OFFSET
  f=$corpus/$1/$2
  size=$(wc -c <"$f")
  head -c $((size / 2)) "$f" >"$corpus/$1/cut-$2"
  cp "$f" "$corpus/$1/bad-$2"
  printf '\377' | dd of="$corpus/$1/bad-$2" bs=1 seek="$3" conv=notrunc 2>/dev/null
}

# ---- the shipped files and the program's own writers ----
sh tools/install-defaults.sh defaults "$scratch/defaults"
d=$scratch/defaults
for t in settings settings_edit semicolon profile; do seed $t shipped.cfg - "$d/Kestrum.Cfg"; done
seed key_file Kestrum.Key 0 "$d/Kestrum.Key"
seed key_file Kestrum.WK 1 "$d/Kestrum.WK"
seed key_file Kestrum.TVK 2 "$d/Kestrum.TVK"
seed color_file Kestrum.Col 0 "$d/Kestrum.Col"
build/fuzz/obj/fuzz/seed_writer "$corpus" "$d" "$scratch"

# Broken settings: a section without [END] that swallows the next one, a
# byte-order mark, a lone lead byte at a line's end, CR alone as line end.
printf '[ALIAS]\r\nll,ls\r\n[環境変数]\r\nVIEWER, TVIEW\r\nFILEPITCH, +-3\r\n[END]\r\n' | iconv -f UTF-8 -t CP932 >"$corpus/settings/no-end.cfg"
printf '\357\273\277[ALIAS]\r\nx,y\r\n[END]\r\n' >"$corpus/settings/bom.cfg"
printf '[ALIAS]\r\nx\201 ,y\r\n"[A",B]\r\n[END]\r\n[FUNCTION]\r\nLSHELP\r\n[F3]\r\n[END]\r\n' >"$corpus/settings/lead-byte.cfg"
printf '[EXEHISTORY]\rCP a b\r[END]\r[内部コマンド]\r\rCHDIR\r; note\r[END]\r' | iconv -f UTF-8 -t CP932 >"$corpus/settings/cr.cfg"
for f in no-end.cfg bom.cfg lead-byte.cfg cr.cfg; do
  cp "$corpus/settings/$f" "$corpus/settings_edit/$f"
  cp "$corpus/settings/$f" "$corpus/semicolon/$f"
done
printf '\000#FOREIGN HEADER\r\n1, 65, A, 0, 0, 0, 0\r\n' >"$corpus/key_file/foreign"
printf '\004x\r\n5, 222, ", 1, 1, 0, 1\r\n+-3, 2, \201, 1\r\n1000, 65, A\r\n\r\n,\r\n' >"$corpus/key_file/odd-lines"
printf '\001\357\273\277#\r\n3,255\r\n' >"$corpus/color_file/bom"
printf '\001-1,5\r\n31,2\r\n5,-2147483648\r\n5,2147483648\r\n2,x\r\n' >"$corpus/color_file/out-of-range"

# ---- small hand-written inputs ----
# Strings the targets take from the front end at "\" and another character;
# numbers and switches come from the last bytes.
printf '"a,b" c\\-x""y\\-,a "b,c" ""d"" my notes.txt D:\\BACKUP\000' >"$corpus/splitters/quotes"
printf '\225\\\\\\-*.?\\-;*.TXT \225\\x.txt \203\\ \001' >"$corpus/splitters/sjis"
printf '*.C\\-[*.TXT, *.DOC],texts \\+ \\D TODAY\000\000\000\000' >"$corpus/mask/list"
printf '\\-\225\\+, \\A today ,\\D 2020\000\000\000\000' >"$corpus/mask/sjis"
printf '*.txt\\-a/b/../c.txt\000' >"$corpus/arc_path/dots"
printf 'x\\-C:\\x\\\\server\\share\\CON.txt \225\\\\x\001' >"$corpus/arc_path/roots"
printf 'FORM_LS\\-Top\\-[FORM_LS]\r\nTop = 12\r\nleft="3"\r\n[form_ls]\r\nTop=99\r\n[TVIEW] ; x\r\nFontName=ＭＳ ゴシック\r\n' \
  | iconv -f UTF-8 -t CP932 >"$corpus/profile/geometry.ini"
printf '\\-\\-ALIAS ll,ls;mask *.TXT\nll\nCD \\WORK;CP my notes.txt D:\\BACKUP\nREN *.TXT *.BAK\nEDIT /$C\nALIAS x,x\nx;x\n\001C:\\WORK\\A.TXT\nVIEW /$$ "a b"\nCFGLOAD other.cfg\nSETEXT LZH,LVIEW\n\225\\.LZH\nMREN\nSPLIT a.txt,100,SUB\n\001\001\001\001\001\001\001' >"$corpus/interpreter/commands"
printf '\\-[ALIAS]\nq,ver;ver;q\n[END]\\-q\nDROP kw,,\nWAIT\nSLEEP 99999999999\nMENU OFF\nLAUTO [a,b],x\n\000\001\000\001\002\003\004' >"$corpus/interpreter/aliases"

# ---- texts for the wrapper and the converter ----
sed 's/$/\r/' dist/README.txt | iconv -f UTF-8 -t CP932 >"$scratch/readme.sjis"
{ printf '\050\050\010'; cat "$scratch/readme.sjis"; } >"$corpus/wrap/readme"
{ printf '\001\003\001'; printf 'ab\201\r\n\000表\225\r\201'; head -c 300 /dev/zero | tr '\0' 'x'; printf '\277\n'; } >"$corpus/wrap/edges"
head -c 1500 dist/README.txt >"$scratch/sample.txt"
printf '\002\003' >"$scratch/params"
for code in ISO-2022-JP EUC-JP UTF-8 UTF-16 UTF-16BE CP932; do
  { cat "$scratch/params"; iconv -c -f UTF-8 -t $code "$scratch/sample.txt"; } >"$corpus/convert/$code"
done
{ cat "$scratch/params"; printf '\357\273\277'; head -c 200 "$scratch/sample.txt"; } >"$corpus/convert/utf8-bom"
printf '\001\001\033$B\r\n0!\033(I1\0162\017\033(B\216\251\216\320' >"$corpus/convert/escapes"

# ---- the peers' archives ----
mkdir -p "$scratch/tree/sub"
printf 'peer text\nline two\n' >"$scratch/tree/a.txt"
head -c 2000 dist/README.txt >"$scratch/tree/sub/readme.txt"
: >"$scratch/tree/empty.txt"
(cd "$scratch/tree" && jlha c0o5q "$scratch/j0.lzh" a.txt sub && jlha c1o6q "$scratch/j1.lzh" a.txt sub \
  && jlha c2o7q "$scratch/j2.lzh" a.txt sub empty.txt) >/dev/null
for n in 0 1 2; do seed lzh_header jlha$n.lzh - "$scratch/j$n.lzh"; done
seed extract jlha2.lzh 39 "$scratch/j2.lzh"
(cd "$scratch/tree" && tar --format=gnu -cf "$scratch/gnu.tar" a.txt sub \
  && tar --format=ustar -cf "$scratch/ustar.tar" a.txt sub \
  && tar --format=pax -cf "$scratch/pax.tar" a.txt sub \
  && gzip -c a.txt >"$scratch/two.gz" && gzip -c sub/readme.txt >>"$scratch/two.gz" \
  && tar --format=gnu -czf "$scratch/gnu.tgz" a.txt)
for f in gnu.tar ustar.tar pax.tar two.gz gnu.tgz; do seed tar $f - "$scratch/$f"; done
seed extract pax.tar 0 "$scratch/pax.tar"
(cd "$scratch/tree" && zip -qr "$scratch/deflate.zip" a.txt sub && zip -q0 "$scratch/stored.zip" a.txt empty.txt \
  && zip -q -P pass "$scratch/crypt.zip" a.txt && printf 'streamed\n' | zip -q "$scratch/stream.zip" -)
python3 - "$scratch" <<'EOF'
import sys, zipfile
d = sys.argv[1]
with zipfile.ZipFile(d + '/utf8.zip', 'w', zipfile.ZIP_DEFLATED) as z:
    z.writestr('日本語/ファイル.txt', 'utf-8 name\n')
    z.writestr('plain.txt', 'x' * 300)
with zipfile.ZipFile(d + '/zip64.zip', 'w') as z:
    with z.open('big.txt', 'w', force_zip64=True) as f:
        f.write(b'zip64 entry\n')
EOF
for f in deflate.zip stored.zip crypt.zip stream.zip utf8.zip zip64.zip; do seed zip $f - "$scratch/$f"; done

# ---- ish files another converter wrote (the shared test vectors) ----
ishdata=$root/../shared/data/ish
for f in one.jis7.ish one.jis8.ish edge0065.nonkana.ish edge0069.sjis.ish; do cp "$ishdata/$f" "$corpus/ish/$f"; done
head -c 1500 "$ishdata/log.mixed.crlf.txt" >"$corpus/ish/cut-log.txt"
head -n 7 "$ishdata/big.i07" >"$corpus/ish/volume-start.ish"
# Two characters swapped in two data lines of one block: rebuilt.
python3 - "$ishdata/edge0059.jis7.ish" "$corpus/ish/bad-edge0059.jis7.ish" <<'EOF'
import sys
lines = open(sys.argv[1], 'rb').read().split(b'\n')
for i in (5, 6):
    l = bytearray(lines[i]); l[10], l[11] = l[11], l[10]; lines[i] = bytes(l)
open(sys.argv[2], 'wb').write(b'\n'.join(lines))
EOF
chmod 644 "$corpus"/ish/*

# ---- broken copies ----
broken lzh_header jlha2.lzh 5
broken lzh_header ours.lzh 21
broken tar gnu.tar 148
broken tar gnu.tgz 10
broken zip deflate.zip 30
broken zip utf8.zip 16

du -sh "$corpus"
