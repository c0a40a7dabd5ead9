#!/usr/bin/env bash
# Pictures of the windows: builds the programs, generates the example package, installs it
# on a new machine through the windows (offscreen, driven by examples/answers.ini) and removes
# it again, saving every window as it is shown into OUTDIR as NNN-<program>-<window>.png.
# A second package then shows the windows the example never needs: the folder picker over the
# machine (its destination chosen with Change), a file on a second disk whose folder was moved
# (the picker asking for the disk) and a shared file whose count falls to zero on removal (the
# three-button question). Last, every builder dialog and assistant is shown
# over the example document, then the builder's main window with two documents and its own
# windows (preferences, about box, tip of the day).
# VANDREL_BIN=FOLDER uses programs already built there instead of building into build/.
# With --docs instead of OUTDIR, the pictures the manual shows (docs/pictures/) are made anew
# from a run into a temporary folder; the other pictures are dropped.
set -euo pipefail
usage='usage: scripts/screenshots.sh OUTDIR | --docs'
OUT=${1:?$usage}
cd "$(dirname "$0")/.."
DOCS=
if [ "$OUT" = --docs ]; then
  DOCS=$(pwd)/docs/pictures
  OUT=$(mktemp -d)
fi

if [ -z "${VANDREL_BIN:-}" ]; then
  scripts/install-deps.sh
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANDREL_TESTS=OFF \
    -DVANDREL_BENCH=OFF >/dev/null
  cmake --build build -j "${VANDREL_JOBS:-2}"
  VANDREL_BIN=build/bin
fi
BIN=$(cd "$VANDREL_BIN" && pwd)
# The windows of the setup and the uninstaller are in the gui module beside the programs.
if [ ! -x "$BIN/tamsin32" ] || [ ! -f "$BIN/vandrel-gui-qt.so" ]; then
  echo "screenshots: the build has no windows (Qt 6 Widgets is needed)" >&2
  exit 1
fi

mkdir -p "$OUT"
OUT=$(cd "$OUT" && pwd)
rm -f "$OUT"/[0-9][0-9][0-9]-*.png
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"; [ -z "$DOCS" ] || rm -rf "$OUT"' EXIT
cp -r examples "$WORK/example"
windows() { printf 'Z:%s' "$1" | tr '/' '\\'; }

export VANDREL_MACHINE="$WORK/machine" VANDREL_UI=gui QT_QPA_PLATFORM=offscreen \
  VANDREL_SCREENSHOTS="$OUT" VANDREL_ANSWERS="$WORK/example/answers.ini"
unset VANDREL_TRANSCRIPT VANDREL_LOG VANDREL_RECORD VANDREL_PLAN
"$BIN/vandrel-machine" init "$VANDREL_MACHINE" --preset win98 >/dev/null
(cd "$WORK/example" && VANDREL_UI=scripted "$BIN/corvix" generate tool.cvx --out "$WORK/pkg" --no-save >/dev/null)

"$BIN/vandrel-machine" run "$VANDREL_MACHINE" "$(windows "$WORK/pkg/Setup.exe")"
"$BIN/vandrel-machine" uninstall "$VANDREL_MACHINE" "Tool 1.0"

# The second package: the example with a shared library on disk 2.
mkdir -p "$WORK/second/shared"
printf 'a library shared between programs\r\n' >"$WORK/second/shared/common.dll"
cp -r examples/. "$WORK/second/"
(cd "$WORK/second" && VANDREL_UI=scripted "$BIN/corvix" add tool.cvx shared --disk 2 >/dev/null &&
  VANDREL_UI=scripted "$BIN/corvix" generate tool.cvx --out "$WORK/package/" --no-save >/dev/null)
script=$(find "$WORK/package" -name Script.vrx | head -n 1)
# The library is marked shared (the last of its eleven fields), and disk 2's folder is moved
# where the setup does not look for it by itself.
awk -F, -v OFS=, '{ sub(/\r$/, "") } /^[0-9]+=common\.dl.,/ { $11 = "1" } { printf "%s\r\n", $0 }' \
  "$script" >"$script.new" && mv "$script.new" "$script"
mv "$(dirname "$(find "$WORK/package" -name 'common.dl?' | head -n 1)")" "$WORK/moved"
# Its destination is chosen in the folder picker (Change on the destination page).
{
  printf '[Wizard]\r\nUserName=Example User\r\n'
  printf '[Folders]\r\nDestination=C:\\Program Files\\Tool\r\n1=%s\\\r\n' "$(windows "$WORK/moved")"
  printf '[Answers]\r\nDefault=Yes\r\n'
} >"$WORK/second.ini"
export VANDREL_ANSWERS="$WORK/second.ini"
"$BIN/vandrel-machine" run "$VANDREL_MACHINE" "$(windows "$(dirname "$script")/Setup.exe")"
"$BIN/vandrel-machine" uninstall "$VANDREL_MACHINE" "Tool 1.0"
# The builder's dialogs, each filled by the example's answers and closed with OK (the document
# is not written); the extension assistant is given what it needs to accept them.
sed '/^\[Wizard\]/a Extension=tol\nFileType=ToolDocument\nUseRegistry=1\nProgramPath=[0]\\Bin\\tool.exe' \
  "$WORK/example/answers.ini" >"$WORK/dialogs.ini"
VANDREL_ANSWERS="$WORK/dialogs.ini" "$BIN/corvix-dialogs" "$WORK/example/tool.cvx"

# The builder: the main window with the example and a second document, then its own windows
# and a few commands in turn (the commands of [Builder] Commands, driven by the answers file); nothing is
# saved at the end.
(cd "$WORK/example" && export VANDREL_UI=scripted &&
  "$BIN/corvix" new viewer.cvx >/dev/null &&
  "$BIN/corvix" set viewer.cvx AppName=Viewer Ver=1.2 >/dev/null &&
  "$BIN/corvix" add viewer.cvx files --into 'Windows Dir' >/dev/null)
cat > "$WORK/builder.ini" <<ANSWERS
[Answers]
Default=No
[Folders]
1=$(windows "$WORK/pkg2")\\
[Builder]
Commands=tile,shot:main-two-documents,preferences,about,tip,directory,generate,shot:main-after-generate
ANSWERS
XDG_CONFIG_HOME="$WORK/config" VANDREL_ANSWERS="$WORK/builder.ini" \
  "$BIN/corvix" "$WORK/example/tool.cvx" "$WORK/example/viewer.cvx"

# The manual's pictures: the window a run saved first under each name, copied to a stable name.
copy_for_docs() {
  local window name shot
  while read -r window name; do
    shot=$(find "$OUT" -name "[0-9][0-9][0-9]-$window.png" | sort | head -n 1)
    if [ -z "$shot" ]; then
      echo "screenshots: no picture of $window was made for docs/pictures/$name" >&2
      return 1
    fi
    cp "$shot" "$DOCS/$name"
  done <<'PICTURES'
setup-page-first setup-welcome.png
setup-page-destination setup-destination.png
setup-copy-progress setup-progress.png
uninstall-progress-done uninstall-done.png
corvix-main builder-main.png
corvix-page-file builder-file.png
corvix-settings-general builder-settings.png
PICTURES
}
if [ -n "$DOCS" ]; then
  mkdir -p "$DOCS"
  copy_for_docs
  ls "$DOCS"
else
  ls "$OUT"
fi
