#!/bin/sh
# Builds the fuzz targets (clang: libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build/fuzz and runs each one for a fixed
# number of inputs, starting from its seed corpus in fuzz/corpus. Exits 1
# when any target finds something: a crash, a sanitizer report, a failed
# property, a leak, a time-out or running out of memory.
#   run.sh [--runs N] [--seed S] [--jobs J] [--build-only] [TARGET...]
# N inputs per target (default 1000000); S the random seed (0, the
# default, picks one); J parallel compile jobs; --build-only stops after
# the build. Findings are kept in
# build/fuzz/findings, each target's output in build/fuzz/logs.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
runs=1000000
seed=0
jobs=2
build_only=0
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    --build-only) build_only=1; shift ;;
    -*) echo "run.sh: unknown option $1" >&2; exit 2 ;;
    *) break ;;
  esac
done

out=$root/build/fuzz
mkdir -p "$out/logs" "$out/findings"
python3 "$root/fuzz/sjis_literals.py" "$root" "$out/src"
cmake -S "$out/src" -B "$out/obj" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DKESTRUM_NATIVE=ON -DKESTRUM_TESTS=OFF -DKESTRUM_FUZZ=ON >"$out/configure.log" 2>&1 \
  || { cat "$out/configure.log"; exit 1; }
cmake --build "$out/obj" -j "$jobs" >"$out/build.log" 2>&1 || { tail -n 60 "$out/build.log"; exit 1; }
[ "$build_only" = 0 ] || exit 0

targets=${*:-$(cat "$out/obj/fuzz/targets.txt")}
failed=""
total=0
for t in $targets; do
  # Archives are bigger than the texts.
  case $t in
    lzh_header|lzh_decode|tar|zip|extract) maxlen=65536 ;;
    *) maxlen=4096 ;;
  esac
  work=$out/work/$t
  rm -rf "$work"
  mkdir -p "$work/corpus"
  log=$out/logs/$t.log
  start=$(date +%s)
  # New inputs go to the first folder (the scratch one); the repository's
  # corpus is only read. The target runs inside its scratch folder, so
  # that anything it writes stays there.
  if (cd "$work" && "$out/obj/fuzz/${t}_fuzz" -runs="$runs" -seed="$seed" -max_len="$maxlen" \
        -timeout=30 -rss_limit_mb=2560 -artifact_prefix="$out/findings/$t-" -print_final_stats=1 \
        "$work/corpus" "$root/fuzz/corpus/$t") >"$log" 2>&1; then
    secs=$(($(date +%s) - start))
    done_runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -n 1)
    total=$((total + secs))
    printf '%-14s %9s inputs %6s s\n' "$t" "${done_runs:-?}" "$secs"
  else
    secs=$(($(date +%s) - start))
    total=$((total + secs))
    printf '%-14s FINDING after %s s: %s\n' "$t" "$secs" "$log"
    grep -m 3 -E 'property failed|ERROR:|runtime error|SUMMARY' "$log" | sed 's/^/    /' || true
    grep -m 1 -o "Test unit written to .*" "$log" | sed 's/^/    /' || true
    failed="$failed $t"
  fi
done
echo "fuzz: $runs inputs per target in $total s"
if [ -n "$failed" ]; then
  echo "fuzz: findings in:$failed" >&2
  exit 1
fi
