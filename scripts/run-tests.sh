#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs the whole
# test suite (unit, end-to-end and interoperability tests, the fuzz targets over their corpus),
# fuzzes every fuzz target for 30 seconds (scripts/fuzz.sh), then builds the Windows programs
# and runs their tests under Wine (scripts/wine/test-windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
# Each step says how long it took, so the whole run can be kept within its time.
mark=$SECONDS
took() { echo "run-tests: $1 took $((SECONDS - mark)) s"; mark=$SECONDS; }
scripts/install-deps.sh
took "installing the packages"

build=${VANDREL_TEST_BUILD:-build-test}
jobs=${VANDREL_JOBS:-2}
# -O1 with line tables only: the sanitizers' stack traces keep file and line, and the build
# takes about 40% less compiler time than -O2 with full debug information.
opt="-O1 -g1 -DNDEBUG"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANDREL_SANITIZE=ON \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$opt" -DCMAKE_C_FLAGS_RELWITHDEBINFO="$opt" \
  -DVANDREL_BENCH=OFF >/dev/null
cmake --build "$build" -j "$jobs"
took "the sanitizer build"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$build" && ctest --output-on-failure -j "$jobs" --timeout 300)
took "the test suite"

# Every fuzz target, coverage-guided for 30 seconds.
scripts/fuzz.sh 30
took "fuzzing"

# The Windows programs: cross-built for both targets, checked as Windows executables, their
# tests run under Wine (VANDREL_WINDOWS=0 leaves this out).
if [ "${VANDREL_WINDOWS:-1}" != 0 ]; then
  VANDREL_HOST_BIN="$build/bin" scripts/wine/test-windows.sh
  took "the Windows step"
fi
echo "run-tests: all passed in $SECONDS s"
