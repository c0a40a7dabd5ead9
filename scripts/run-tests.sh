#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs the whole
# test suite (unit, end-to-end and interoperability tests, the fuzz targets over their corpus),
# fuzzes every fuzz target for 30 seconds (scripts/fuzz.sh), then builds the Windows programs
# and runs their tests under Wine (scripts/test-windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

build=${VANDREL_TEST_BUILD:-build-test}
jobs=${VANDREL_JOBS:-2}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANDREL_SANITIZE=ON \
  -DVANDREL_BENCH=OFF >/dev/null
cmake --build "$build" -j "$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$build" && ctest --output-on-failure -j "$jobs" --timeout 300)

# Every fuzz target, coverage-guided for 30 seconds.
scripts/fuzz.sh 30

# The Windows programs: cross-built for both targets, checked as Windows executables, their
# tests run under Wine (VANDREL_WINDOWS=0 leaves this out).
if [ "${VANDREL_WINDOWS:-1}" != 0 ]; then
  VANDREL_HOST_BIN="$build/bin" scripts/test-windows.sh
fi
