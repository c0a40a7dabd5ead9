#!/usr/bin/env bash
# Pictures of the builder's Win32 windows, made under wine64 with the answers the Linux
# pictures are made with (scripts/screenshots.sh), then set against those: every Linux picture
# of corvix must have a Windows picture of the same name.
#
#   scripts/wine/builder-pictures.sh OUTDIR
#
# The Windows run: corvix-dialogs.exe shows every builder dialog and assistant over the
# example document, then corvix.exe shows the main window with the example and a second
# document and runs the same [Builder] Commands as the Linux run. Each window is saved in
# OUTDIR as NNN-corvix-<window>.bmp and converted to .png (scripts/wine/bmp-to-png.py); the
# numbers start where the Linux run's pictures of corvix start, so both sides' names match.
# The windows are shown on an X display of their own (Xvfb on a free display number, or
# :$VANDREL_DISPLAY) with a window manager when openbox is installed, in a new Wine prefix
# removed afterwards.
#
# VANDREL_HOST_BIN: the Linux programs with their Qt windows (default build/bin), which make
# the documents and, unless VANDREL_LINUX_PICTURES names a folder scripts/screenshots.sh
# already filled, the Linux pictures (into OUTDIR/linux). VANDREL_WINDOWS_BIN: the 64-bit
# Windows build (default build-win64/bin, with corvix.exe and corvix-dialogs.exe).
# The names only one side has are listed; the exit status is 1 when a Linux picture of
# corvix has no Windows picture of its name.
set -euo pipefail
usage='usage: scripts/wine/builder-pictures.sh OUTDIR'
out=${1:?$usage}
cd "$(dirname "$0")/../.."
host_bin=$(realpath "${VANDREL_HOST_BIN:-build/bin}")
win_bin=$(realpath "${VANDREL_WINDOWS_BIN:-build-win64/bin}")
wine=${VANDREL_WINE:-$(command -v wine64 || echo /usr/lib/wine/wine64)}
for program in "$win_bin/corvix.exe" "$win_bin/corvix-dialogs.exe" "$host_bin/corvix"; do
  [ -f "$program" ] || { echo "builder-pictures: $program is not built" >&2; exit 1; }
done
mkdir -p "$out"
out=$(realpath "$out")
rm -f "$out"/[0-9][0-9][0-9]-*.bmp "$out"/[0-9][0-9][0-9]-*.png

# The Linux pictures, and the first number of their corvix pictures.
linux=${VANDREL_LINUX_PICTURES:-}
if [ -z "$linux" ]; then
  linux=$out/linux
  VANDREL_BIN="$host_bin" scripts/screenshots.sh "$linux" >/dev/null
fi
linux=$(realpath "$linux")
first=$(find "$linux" -maxdepth 1 -name '[0-9][0-9][0-9]-corvix-*.png' -printf '%f\n' | sort | head -n 1)
[ -n "$first" ] || { echo "builder-pictures: $linux has no pictures of corvix" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/vandrel-builder-pictures-XXXXXX")
export WINEPREFIX=$work/prefix HOME=$work/prefix/home
xvfb= manager=
cleanup() {
  "$(dirname "$wine")/wineserver" -k 2>/dev/null || true
  [ -z "$manager" ] || kill "$manager" 2>/dev/null || true
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
windows() { printf 'Z:%s' "$1" | tr '/' '\\'; }

# A display of its own: the first number from 90 with no X server.
display=${VANDREL_DISPLAY:-}
if [ -z "$display" ]; then
  display=90
  while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
fi
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
if ! kill -0 "$xvfb" 2>/dev/null; then
  xvfb=
  echo "builder-pictures: no X server could be started on :$display" >&2
  exit 1
fi
export DISPLAY=:$display
if command -v openbox >/dev/null; then
  openbox >/dev/null 2>&1 &
  manager=$!
fi

# Wine draws the caption buttons with its Marlett font (Debian's fonts-wine); without it they
# show letters.
if [ -z "$(find /usr/share/wine /usr/share/fonts /usr/lib/wine /usr/lib/x86_64-linux-gnu/wine \
  -iname 'marlett*' 2>/dev/null | head -n 1)" ]; then
  echo "builder-pictures: Wine's Marlett font is not installed: the caption buttons show letters" >&2
fi

# A new prefix; Wine draws the windows' frames and captions itself, so that the pictures
# (copied from the window's own drawing) hold them.
mkdir -p "$HOME"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
"$wine" wineboot --init >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
"$(dirname "$wine")/wineserver" -w

# The documents, as scripts/screenshots.sh makes them.
cp -r examples "$work/example"
(cd "$work/example" && export VANDREL_UI=scripted VANDREL_MACHINE="$work/machine" &&
  "$host_bin/vandrel-machine" init "$VANDREL_MACHINE" --preset win98 >/dev/null &&
  "$host_bin/corvix" new viewer.cvx >/dev/null &&
  "$host_bin/corvix" set viewer.cvx AppName=Viewer Ver=1.2 >/dev/null &&
  "$host_bin/corvix" add viewer.cvx files --into 'Windows Dir' >/dev/null)
sed '/^\[Wizard\]/a Extension=tol\nFileType=ToolDocument\nUseRegistry=1\nProgramPath=[0]\\Bin\\tool.exe' \
  "$work/example/answers.ini" >"$work/dialogs.ini"
cat >"$work/builder.ini" <<ANSWERS
[Answers]
Default=No
[Folders]
1=$(windows "$work/pkg2")\\
[Builder]
Commands=tile,shot:main-two-documents,preferences,about,tip,directory,generate,shot:main-after-generate
ANSWERS

# The numbers go on from the highest one in the folder: a marker one below the Linux run's
# first picture of corvix starts them there.
marker=$out/$(printf '%03d' $((10#${first:0:3} - 1)))-start
touch "$marker"
export VANDREL_UI=gui VANDREL_SCREENSHOTS
VANDREL_SCREENSHOTS=$(windows "$out")
VANDREL_ANSWERS=$(windows "$work/dialogs.ini") \
  "$wine" "$win_bin/corvix-dialogs.exe" "$(windows "$work/example/tool.cvx")" >"$work/dialogs.out" 2>&1 ||
  { cat "$work/dialogs.out" >&2; echo "builder-pictures: corvix-dialogs.exe ended with a failure" >&2; exit 1; }
(cd "$work/example" && VANDREL_ANSWERS=$(windows "$work/builder.ini") \
  "$wine" "$win_bin/corvix.exe" "$(windows "$work/example/tool.cvx")" "$(windows "$work/example/viewer.cvx")") \
  >"$work/builder.out" 2>&1 ||
  { cat "$work/builder.out" >&2; echo "builder-pictures: corvix.exe ended with a failure" >&2; exit 1; }
rm -f "$marker"
scripts/wine/bmp-to-png.py "$out" >/dev/null

# The names each side has.
names() { find "$1" -maxdepth 1 -name '[0-9][0-9][0-9]-corvix-*.png' -printf '%f\n' | sort; }
names "$linux" >"$work/linux.txt"
names "$out" >"$work/windows.txt"
echo "builder-pictures: $(wc -l <"$work/windows.txt") Windows pictures in $out, $(wc -l <"$work/linux.txt") Linux pictures of corvix in $linux"
only_windows=$(comm -13 "$work/linux.txt" "$work/windows.txt")
only_linux=$(comm -23 "$work/linux.txt" "$work/windows.txt")
[ -z "$only_windows" ] || printf 'only on Windows: %s\n' $only_windows
if [ -n "$only_linux" ]; then
  printf 'only on Linux: %s\n' $only_linux
  exit 1
fi
echo "builder-pictures: every Linux picture of corvix has a Windows picture of its name"
