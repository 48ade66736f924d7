#!/bin/sh
# Makes DIR holding COUNT files f00000.txt ... (the last one 5,000 bytes,
# the rest empty) and a directory "sub", for the filer's long-listing test.
# Made on the host side: Wine checks each new name against the whole
# directory, so making them through it takes minutes.
#   long_dir.sh DIR COUNT
set -eu
dir=$1
count=$2
[ -f "$dir.done-$count" ] && exit 0
rm -rf "$dir" "$dir".done-*
mkdir -p "$dir/sub"
(cd "$dir" && seq -f 'f%05g.txt' 0 $((count - 1)) | xargs touch)
head -c 5000 /dev/zero >"$dir/$(printf 'f%05d.txt' $((count - 1)))"
touch "$dir.done-$count"
