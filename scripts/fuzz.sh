#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a while.
#   scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 60)
# New interesting inputs go to build-fuzz/work/, crashes to build-fuzz/crashes/;
# copy a crash into fuzz/regressions/TARGET/ once it is fixed, so every test
# build runs it from then on. Exits 1 if any target found a crash.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
mapfile -t targets < fuzz/targets.txt

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DFUDELINE_FUZZ=ON -DFUDELINE_BUILD_APP=OFF -DFUDELINE_BUILD_TESTS=OFF -DFUDELINE_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz --target "${targets[@]/%/_fuzzer}"

total=0
failed=0
printf '%-16s %12s %8s\n' target executions result
for t in "${targets[@]}"; do
  mkdir -p "build-fuzz/work/$t" build-fuzz/crashes
  log="build-fuzz/$t.log"
  if "build-fuzz/bin/${t}_fuzzer" "build-fuzz/work/$t" "fuzz/corpus/$t" -max_total_time="$seconds" \
      -timeout=10 -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
      -artifact_prefix="build-fuzz/crashes/$t-" >"$log" 2>&1; then
    result=ok
  else
    result=CRASH
    failed=1
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
  total=$((total + runs))
  printf '%-16s %12s %8s\n' "$t" "$runs" "$result"
  [ "$result" = ok ] || tail -n 30 "$log"
done
printf '%-16s %12s\n' total "$total"
exit "$failed"
