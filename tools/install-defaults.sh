#!/bin/sh
# Copies the files a fresh installation ships with into the program folder,
# turning the UTF-8, LF sources into the Shift-JIS, CR LF files the program reads.
#   install-defaults.sh SOURCE-DIR TARGET-DIR
set -eu
src=$1
dst=$2
mkdir -p "$dst"
for f in "$src"/*; do
  name=$(basename "$f")
  tmp="$dst/.$name.tmp"
  iconv -f UTF-8 -t CP932 "$f" | sed 's/$/\r/' >"$tmp"
  mv "$tmp" "$dst/$name"
done
