#!/usr/bin/env bash
# The main job: builds the programs, generates the example package, installs it unattended on
# the default machine, shows what was installed, and removes it again.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# Only the programs: neither the tests nor the benchmarks.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANDREL_TESTS=OFF \
  -DVANDREL_BENCH=OFF >/dev/null
cmake --build build -j "${VANDREL_JOBS:-2}"

if [ ! -x build/bin/corvix ] || [ ! -x build/bin/vandrel-machine ]; then
  echo "run-example: the build did not produce build/bin/corvix and build/bin/vandrel-machine" >&2
  exit 1
fi
exec examples/run-example.sh build/bin
