#!/usr/bin/env bash
# Coverage-guided fuzzing with libFuzzer: builds every fuzz target with clang, AddressSanitizer
# and UndefinedBehaviorSanitizer in build-fuzz/, then runs each for SECONDS (default 3600, an
# hour), VANDREL_JOBS targets at a time (default 2). New inputs go to
# build-fuzz/fuzz/work/<name>/, inputs that fail to build-fuzz/fuzz/artifacts/<name>-crash-*;
# each target's figures (executions, coverage, corpus) are printed at the end, and the exit
# status is 1 when any target failed. scripts/run-tests.sh runs it for 30 seconds.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-3600}
case $seconds in '' | *[!0-9]*) echo "usage: scripts/fuzz.sh [SECONDS]" >&2; exit 2 ;; esac
scripts/install-deps.sh

# clang and its libFuzzer runtime come with the other packages (scripts/install-deps.sh).
build=${VANDREL_FUZZ_BUILD:-build-fuzz}
jobs=${VANDREL_JOBS:-2}
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVANDREL_SANITIZE=ON -DVANDREL_LIBFUZZER=ON -DVANDREL_BENCH=OFF -DVANDREL_GUI=OFF >/dev/null
cmake --build "$build" -j "$jobs" --target fuzz_all

out=$build/fuzz
"$out/fuzz_seeds" "$out/seeds" >/dev/null
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# One target: its log in $out/<name>.log, "ok" or "failed" in $out/<name>.status.
fuzz_one() {
  local name=$1 corpus=fuzz/corpus/$1
  mkdir -p "$out/work/$name" "$out/artifacts" "$out/seeds/$name"
  # libFuzzer adds new inputs to its first folder: the scratch one, not the checked-in corpus.
  if "$out/fuzz_$name" -max_total_time="$seconds" -max_len=65536 -timeout=20 \
      -print_final_stats=1 -artifact_prefix="$out/artifacts/$name-" \
      "$out/work/$name" "$corpus" "$out/seeds/$name" >"$out/$name.log" 2>&1; then
    echo ok >"$out/$name.status"
  else
    echo failed >"$out/$name.status"
  fi
}

names=()
for corpus in fuzz/corpus/*/; do names+=("$(basename "$corpus")"); done
echo "fuzzing ${#names[@]} targets for ${seconds}s each, $jobs at a time"
running=0
for name in "${names[@]}"; do
  rm -f "$out/$name.status"
  fuzz_one "$name" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait

# The figures: executions, the last coverage line (cov: edges, ft: features, corp: inputs).
failed=()
for name in "${names[@]}"; do
  log=$out/$name.log
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  last=$(grep -E '^#[0-9]+' "$log" | grep -o 'cov: [0-9]* ft: [0-9]* corp: [0-9/]*[a-zA-Z]*' | tail -n 1)
  status=$(cat "$out/$name.status" 2>/dev/null || echo failed)
  printf 'fuzz_%-14s %-6s executions %-10s %s\n' "$name" "$status" "${runs:-?}" "${last:-}"
  if [ "$status" != ok ]; then
    failed+=("$name")
    tail -n 30 "$log"
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "failed: ${failed[*]} (inputs in $out/artifacts/)"
  exit 1
fi
echo "all fuzz targets ran ${seconds}s without a failure"
