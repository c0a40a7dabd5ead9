#!/usr/bin/env bash
# Coverage-guided fuzzing with libFuzzer: builds every fuzz target with clang, AddressSanitizer
# and UndefinedBehaviorSanitizer in build-fuzz/, then runs each for SECONDS (default 60).
# New inputs go to build-fuzz/fuzz/work/<name>/, inputs that fail to
# build-fuzz/fuzz/artifacts/<name>-crash-*; the exit status is 1 when any target failed.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
case $seconds in '' | *[!0-9]*) echo "usage: scripts/fuzz.sh [SECONDS]" >&2; exit 2 ;; esac
scripts/install-deps.sh
# clang and its libFuzzer runtime; only this script needs them.
if ! command -v clang++ >/dev/null || ! dpkg-query -W -f='${Status}' libclang-rt-dev 2>/dev/null |
    grep -q "install ok installed"; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    clang libclang-rt-dev
fi

build=${VANDREL_FUZZ_BUILD:-build-fuzz}
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVANDREL_SANITIZE=ON -DVANDREL_LIBFUZZER=ON -DVANDREL_BENCH=OFF >/dev/null
cmake --build "$build" -j "${VANDREL_JOBS:-2}" --target fuzz_all

out=$build/fuzz
"$out/fuzz_seeds" "$out/seeds" >/dev/null
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=()
for corpus in fuzz/corpus/*/; do
  name=$(basename "$corpus")
  mkdir -p "$out/work/$name" "$out/artifacts" "$out/seeds/$name"
  echo "== fuzz_$name for ${seconds}s"
  # libFuzzer adds new inputs to its first folder: the scratch one, not the checked-in corpus.
  if ! "$out/fuzz_$name" -max_total_time="$seconds" -max_len=65536 -timeout=20 \
      -print_final_stats=1 -artifact_prefix="$out/artifacts/$name-" \
      "$out/work/$name" "$corpus" "$out/seeds/$name" 2>"$out/$name.log"; then
    failed+=("$name")
    tail -n 30 "$out/$name.log"
  else
    grep -E "^stat::number_of_executed_units|^Done" "$out/$name.log" || true
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "failed: ${failed[*]} (inputs in $out/artifacts/)"
  exit 1
fi
echo "all fuzz targets ran ${seconds}s without a failure"
