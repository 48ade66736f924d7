#!/bin/sh
# Listing benchmark under Wine: a directory of N empty files (default
# 100000), listed by a bare FindFirstFileA/FindNextFileA loop and by the
# filer. The files are made on the host side first: Wine checks every new
# name against the whole directory, so making 100,000 files through it takes
# the better part of an hour; the program itself would make any that are
# missing.   Usage: sh bench/filer_bench.sh [N]
set -e
cd "$(dirname "$0")/.."
n=${1:-100000}
arch=$(sh tools/wine-arch.sh)
if [ "$arch" = win64 ]; then exe=build/x64/bench/filer_bench.exe; else exe=build/bench/filer_bench.exe; fi
[ -f "$exe" ] || { echo "build first: make" >&2; exit 1; }
dir=${TMPDIR:-/tmp}/kestrum-filer-bench-$n
mkdir -p "$dir"
(cd "$dir" && seq -f 'f%06g.txt' 0 $((n - 1)) | xargs touch)
echo "load before: $(uptime)"
sh tools/wine-run.sh --arch="$arch" --timeout=3600 "$exe" "$n" "Z:$(printf '%s' "$dir" | tr / '\\\\')"
echo "load after: $(uptime)"
