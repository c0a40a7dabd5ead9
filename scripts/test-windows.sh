#!/usr/bin/env bash
# Builds the Windows programs (scripts/build-windows.sh --tests) and checks them: the 32-bit
# programs are PE32 executables, the 64-bit ones PE32+; the 64-bit tests (the platform-
# independent libraries, the Windows backend, the backend against the emulated machine's own
# rules) run under wine64 in a new Wine prefix, removed afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$(date +%s)
scripts/build-windows.sh --tests
built=$(date +%s)

# Each program of a build is a Windows executable of its architecture.
check_format() {
  local folder=$1 format=$2 file
  for file in "$folder"/*.exe "$folder"/*.dll; do
    if ! objdump -f "$file" | grep -q "file format $format"; then
      echo "scripts/test-windows.sh: $file is not $format:" >&2
      objdump -f "$file" >&2
      exit 1
    fi
  done
  echo "$folder: $(ls "$folder"/*.exe "$folder"/*.dll | wc -l) programs, all $format"
}
check_format build-win32/bin pei-i386
check_format build-win64/bin pei-x86-64

wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
export WINEPREFIX
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/vandrel-wine-XXXXXX")
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="  # no .NET or browser engine wanted
cleanup() {
  "$(dirname "$wine")/wineserver" -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
"$wine" wineboot --init >/dev/null 2>&1
booted=$(date +%s)

(cd build-win64 && ctest --output-on-failure --timeout 300)
done_at=$(date +%s)
echo "Windows step: build $((built - start)) s, Wine prefix $((booted - built)) s, tests $((done_at - booted)) s"
