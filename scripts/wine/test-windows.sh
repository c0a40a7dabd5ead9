#!/usr/bin/env bash
# Builds the Windows programs (scripts/build-windows.sh --tests) and checks them: the 32-bit
# programs are PE32 executables, the 64-bit ones PE32+; the 64-bit tests (the platform-
# independent libraries, the engines' and the builder's cases over the in-memory machine, the
# Windows backend, the backend against the emulated machine's own rules, the Win32 windows)
# run under wine64 in a new Wine prefix, removed afterwards; then
# the example package is installed and removed there by the Windows programs and on an
# emulated machine by the Linux ones, and both must agree (scripts/wine/example-under-wine.sh);
# last, the builder's windows are driven by one answers file on both systems and must save the
# same document (scripts/wine/builder-under-wine.sh).
#
# The Linux programs are taken from $VANDREL_HOST_BIN (the test build's bin folder), or built
# in build-win-host/ without the tests and the Qt windows.
set -euo pipefail
cd "$(dirname "$0")/../.."
start=$(date +%s)
host_bin=${VANDREL_HOST_BIN:-}
if [ -z "$host_bin" ]; then
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  cmake -S . -B build-win-host -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANDREL_TESTS=OFF \
    -DVANDREL_GUI=OFF "${launcher[@]}" >/dev/null
  cmake --build build-win-host -j "${VANDREL_JOBS:-2}"
  host_bin=build-win-host/bin
fi
export VANDREL_HOST_LZ=${VANDREL_HOST_LZ:-$host_bin/vandrel-lz}
scripts/build-windows.sh --tests
built=$(date +%s)

# Each program of a build is a Windows executable of its architecture.
check_format() {
  local folder=$1 format=$2 file
  for file in "$folder"/*.exe "$folder"/*.dll; do
    if ! objdump -f "$file" | grep -q "file format $format"; then
      echo "scripts/wine/test-windows.sh: $file is not $format:" >&2
      objdump -f "$file" >&2
      exit 1
    fi
  done
  echo "$folder: $(ls "$folder"/*.exe "$folder"/*.dll | wc -l) programs, all $format"
}
check_format build-win32/bin pei-i386
check_format build-win64/bin pei-x86-64

# The package starter, the setup engine and the uninstaller are programs of the GUI subsystem
# (no console window beside theirs); the command-line tools are console programs.
check_subsystem() {
  local folder=$1 file want got
  for file in "$folder"/*.exe; do
    case "$(basename "$file")" in
      Setup.exe | tamsin32*.exe | peskin32*.exe) want="Windows GUI" ;;
      *) want="Windows CUI" ;;
    esac
    got=$(objdump -p "$file" | sed -n 's/^Subsystem[[:space:]].*(\(.*\))$/\1/p')
    if [ "$got" != "$want" ]; then
      echo "scripts/wine/test-windows.sh: $file is a ${got:-unknown} program, not $want" >&2
      exit 1
    fi
  done
  echo "$folder: Setup.exe, tamsin32 and peskin32 are Windows GUI programs, the others Windows CUI"
}
check_subsystem build-win32/bin
check_subsystem build-win64/bin

# Every program has a version resource and a manifest, every library a version resource.
scripts/wine/check-resources.sh build-win32/bin
scripts/wine/check-resources.sh build-win64/bin

wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
export WINEPREFIX
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/vandrel-wine-XXXXXX")
# No .NET or browser engine wanted, nor menu entries on the host for the shortcuts made.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine links the user's Desktop and Documents to the home folder: an empty one keeps the
# host's home out of the prefix (the example's state describes the Desktop whole).
export HOME=$WINEPREFIX/home
mkdir "$HOME"
cleanup() {
  "$(dirname "$wine")/wineserver" -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
"$wine" wineboot --init >/dev/null 2>&1
# Wine's null graphics driver: the Win32 windows' tests make real windows and draw them
# offscreen, with no X display.
"$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
# The prefix's desktop reads its driver when it starts: the one wineboot started would stay
# without any (no window could be made) until the prefix's processes end. Then a server that
# stays up to the end, with the prefix's own processes started again here (they would keep
# the first test's output open), spares each test program the prefix's start (a second or two).
"$(dirname "$wine")/wineserver" -w
"$(dirname "$wine")/wineserver" -p </dev/null >/dev/null 2>&1
"$wine" cmd /c exit </dev/null >/dev/null 2>&1
booted=$(date +%s)

(cd build-win64 && ctest --output-on-failure --timeout 300)
tested=$(date +%s)

VANDREL_WINE=$wine scripts/wine/documents-under-wine.sh "$host_bin" build-win64/bin
documents=$(date +%s)

VANDREL_WINE=$wine scripts/wine/example-under-wine.sh "$host_bin" build-win64/bin
VANDREL_WINE=$wine scripts/wine/uninstaller-version-under-wine.sh "$host_bin" build-win64/bin
examples=$(date +%s)

VANDREL_WINE=$wine scripts/wine/builder-under-wine.sh "$host_bin" build-win64/bin
done_at=$(date +%s)
echo "Windows step: build $((built - start)) s, Wine prefix $((booted - built)) s," \
  "tests $((tested - booted)) s, documents $((documents - tested)) s," \
  "example package $((examples - documents)) s, builder windows $((done_at - examples)) s"
