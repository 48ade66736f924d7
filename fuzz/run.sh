#!/bin/sh
# Builds the fuzz targets (clang: libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build/fuzz and runs each one for a fixed
# number of inputs, starting from its seed corpus in fuzz/corpus. Exits 1
# when any target finds something: a crash, a sanitizer report, a failed
# property, a leak, a time-out or running out of memory.
#   run.sh [--runs N] [--seed S] [--jobs J] [--build-only] [TARGET...]
# N inputs per target (default 1000000); S the random seed (0, the
# default, picks one, which each target's line prints); J parallel jobs,
# for the build and for running targets side by side; --build-only stops
# after the build. Findings are kept in
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

# Runs one target; its summary line goes to results/TARGET, and
# results/TARGET.failed marks a finding.
run_one() {
  t=$1
  # Archives are bigger than the texts.
  case $t in
    lzh_header|lzh_decode|tar|zip|extract|ish) maxlen=65536 ;;
    *) maxlen=4096 ;;
  esac
  work=$out/work/$t
  rm -rf "$work"
  mkdir -p "$work/corpus"
  log=$out/logs/$t.log
  res=$out/results/$t
  start=$(date +%s)
  # New inputs go to the first folder (the scratch one); the repository's
  # corpus is only read. The target runs inside its scratch folder, so
  # that anything it writes stays there.
  if (cd "$work" && "$out/obj/fuzz/${t}_fuzz" -runs="$runs" -seed="$seed" -max_len="$maxlen" \
        -timeout=30 -rss_limit_mb=2560 -artifact_prefix="$out/findings/$t-" -print_final_stats=1 \
        "$work/corpus" "$root/fuzz/corpus/$t") >"$log" 2>&1; then
    secs=$(($(date +%s) - start))
    done_runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -n 1)
    used_seed=$(sed -n 's/^INFO: Seed: \([0-9]*\).*/\1/p' "$log" | head -n 1)
    printf '%-14s %9s inputs %6s s  seed %s\n' "$t" "${done_runs:-?}" "$secs" "${used_seed:-?}" >"$res"
  else
    secs=$(($(date +%s) - start))
    {
      printf '%-14s FINDING after %s s: %s\n' "$t" "$secs" "$log"
      grep -m 3 -E 'property failed|ERROR:|runtime error|SUMMARY' "$log" | sed 's/^/    /' || true
      grep -m 1 -o "Test unit written to .*" "$log" | sed 's/^/    /' || true
    } >"$res"
    : >"$res.failed"
  fi
  echo "$secs" >"$res.secs"
  cat "$res"
}

# The targets run side by side, as many at once as there are jobs: each
# goes to the lane with the least work so far, by a rough cost per input.
cost() {
  case $1 in
    settings|settings_edit|interpreter) echo 20 ;;
    lzh_decode|wrap) echo 8 ;;
    semicolon|key_file|color_file|extract|convert) echo 2 ;;
    *) echo 1 ;;
  esac
}
rm -rf "$out/results"
mkdir -p "$out/results"
lanes=""
i=0
while [ $i -lt "$jobs" ]; do lanes="$lanes $i"; eval "lane_$i=''; load_$i=0"; i=$((i + 1)); done
for t in $targets; do
  best=0
  for l in $lanes; do
    [ "$(eval echo \$load_$l)" -lt "$(eval echo \$load_$best)" ] && best=$l
  done
  eval "lane_$best=\"\$lane_$best $t\"; load_$best=\$((load_$best + $(cost "$t")))"
done
wall=$(date +%s)
for l in $lanes; do
  ( for t in $(eval echo \$lane_$l); do run_one "$t"; done ) &
done
wait
wall=$(($(date +%s) - wall))

failed=""
total=0
for t in $targets; do
  total=$((total + $(cat "$out/results/$t.secs")))
  [ ! -e "$out/results/$t.failed" ] || failed="$failed $t"
done
echo "fuzz: $runs inputs per target, $total s of target time in $wall s ($jobs at once)"
if [ -n "$failed" ]; then
  echo "fuzz: findings in:$failed" >&2
  for t in $failed; do cat "$out/results/$t" >&2; done
  exit 1
fi
