#!/bin/sh
# Start-up benchmark under Wine: Kestrum.exe against a minimal window
# program with one edit box, each started until its window is shown and
# idle, then closed, in alternating rounds of one run (bench/start_bench).
# Kestrum runs from a scratch folder holding a copy of the built program and
# its default settings files, once as built and once stripped of its debug
# information, so that the cost of the debug information shows on its own.
#   Usage: sh bench/start_bench.sh [ROUNDS]     (default 15)
set -e
cd "$(dirname "$0")/.."
rounds=${1:-15}
arch=$(sh tools/wine-arch.sh)
if [ "$arch" = win64 ]; then build=build/x64; strip=x86_64-w64-mingw32-strip; else build=build; strip=i686-w64-mingw32-strip; fi
for f in "$build/bench/start_bench.exe" "$build/bench/minimal_window.exe" "$build/bin/Kestrum.exe"; do
  [ -f "$f" ] || { echo "build first: cmake --build $build --target start_bench minimal_window Kestrum" >&2; exit 1; }
done
dir=${TMPDIR:-/tmp}/kestrum-start-bench
rm -rf "$dir"
mkdir -p "$dir/built" "$dir/stripped" "$dir/minimal"
for d in built stripped; do
  cp "$build/bin/Kestrum.exe" "$dir/$d/"
  cp "$build/bin/Kestrum.Cfg" "$build/bin/Kestrum.Key" "$build/bin/Kestrum.Col" "$build/bin/Kestrum.WK" "$build/bin/Kestrum.TVK" "$dir/$d/"
done
"$strip" "$dir/stripped/Kestrum.exe"
cp "$build/bench/minimal_window.exe" "$dir/minimal/"
win() { printf 'Z:%s' "$1" | tr / '\\'; }
echo "Kestrum.exe $(stat -c %s "$dir/built/Kestrum.exe") bytes as built, $(stat -c %s "$dir/stripped/Kestrum.exe") stripped"
echo "load before: $(uptime)"
sh tools/wine-run.sh --arch="$arch" --timeout=1800 "$build/bench/start_bench.exe" "$rounds" \
  "$(win "$dir/minimal/minimal_window.exe")" KMinimalWindow \
  "$(win "$dir/built/Kestrum.exe")" TfrmMain \
  "$(win "$dir/stripped/Kestrum.exe")" TfrmMain
echo "load after: $(uptime)"
rm -rf "$dir"
