#!/usr/bin/env bash
# Cross-builds the Windows programs with MinGW-w64, statically linked (a package needs no
# runtime DLL): the 32-bit programs in build-win32/bin/, the 64-bit ones in build-win64/bin/
# (Setup.exe, tamsin32.exe, peskin32.exe, corvix.exe, corvix-dialogs.exe, vandrel-lz.exe,
# Scanlet.dll, the companion files Tam32E.ex_, Tam32F.ex_, Pes32E.ex_, Pes32F.ex_). The companion files are compressed with
# the build machine's own vandrel-lz: $VANDREL_HOST_LZ, or one built first in build-win-host/.
#
#   scripts/build-windows.sh [--tests] [--arch i686|x86_64]
#
# --tests also builds the tests of the 64-bit build (run them with scripts/wine/test-windows.sh).
# VANDREL_JOBS sets the parallel jobs (default 2).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

tests=OFF
arches=(i686 x86_64)
while [ $# -gt 0 ]; do
  case "$1" in
    --tests) tests=ON ;;
    --arch) shift; arches=("$1") ;;
    *) echo "usage: scripts/build-windows.sh [--tests] [--arch i686|x86_64]" >&2; exit 2 ;;
  esac
  shift
done
jobs=${VANDREL_JOBS:-2}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

# VANDREL_HOST_LZ names a vandrel-lz already built for this machine (the test build's).
host_lz=${VANDREL_HOST_LZ:-}
if [ -z "$host_lz" ]; then
  cmake -S . -B build-win-host -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANDREL_TESTS=OFF \
    -DVANDREL_GUI=OFF "${launcher[@]}" >/dev/null
  cmake --build build-win-host -j "$jobs" --target vandrel-lz
  host_lz=$PWD/build-win-host/bin/vandrel-lz
fi

for arch in "${arches[@]}"; do
  case "$arch" in
    i686) build=build-win32; arch_tests=OFF ;;  # built only: this machine's Wine runs 64-bit programs
    x86_64) build=build-win64; arch_tests=$tests ;;
    *) echo "scripts/build-windows.sh: unknown architecture $arch" >&2; exit 2 ;;
  esac
  # -O1: the programs spend their time in the file system, and the build stays short.
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DVANDREL_WINDOWS_ARCH="$arch" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O1 -DNDEBUG" \
    -DCMAKE_C_FLAGS_RELEASE="-O1 -DNDEBUG" -DVANDREL_TESTS="$arch_tests" \
    -DVANDREL_HOST_LZ="$(realpath "$host_lz")" "${launcher[@]}" >/dev/null
  cmake --build "$build" -j "$jobs"
done
