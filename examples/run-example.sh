#!/usr/bin/env bash
# The main job on the default machine: generates the example package from tool.cvx, installs
# it unattended with its Setup.exe, shows what was installed (files, shortcuts, registry,
# win.ini) and removes it again. Argument: the folder of the built programs (build/bin).
set -euo pipefail

BIN=$(cd "${1:?usage: run-example.sh BIN_FOLDER}" && pwd)
EXAMPLE=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

ROOT=${VANDREL_MACHINE:-${XDG_DATA_HOME:-$HOME/.local/share}/vandrel/machine}
export VANDREL_MACHINE="$ROOT" VANDREL_UI=scripted VANDREL_ANSWERS="$EXAMPLE/answers.ini"
unset VANDREL_TRANSCRIPT

machine() { "$BIN/vandrel-machine" "$@"; }
# A host path as the machine sees it: drive Z: is the host's root.
windows() { printf 'Z:%s' "$1" | tr '/' '\\'; }
title() { printf '\n== %s\n' "$*"; }

[ -f "$ROOT/machine.ini" ] || machine init "$ROOT" --preset win98
INSTALL='C:\Program Files\Tool'
PROGRAMS='C:\WINDOWS\Start Menu\Programs\Tool'

show_installed() {
  title "Files in $INSTALL"
  local folder
  folder=$(machine path "$ROOT" "$INSTALL")
  if [ -d "$folder" ]; then (cd "$folder" && find . -type f | sort); else echo "(none)"; fi
  title "Shortcuts in $PROGRAMS"
  folder=$(machine path "$ROOT" "$PROGRAMS")
  if [ -d "$folder" ]; then
    for link in "$folder"/*.lnk; do
      [ -e "$link" ] || continue
      echo "$(basename "$link")"
      if command -v lnkinfo >/dev/null; then
        lnkinfo "$link" | grep -E 'Local path|Working directory|Command line arguments' | sed 's/^/    /'
      fi
    done
  else
    echo "(none)"
  fi
  title 'Registry: HKEY_CURRENT_USER\Software\Orlwen\Tool'
  machine reg export "$ROOT" 'HKEY_CURRENT_USER\Software\Orlwen\Tool' 2>/dev/null | tail -n +2 || echo "(none)"
  title "Installed programs"
  machine programs "$ROOT" || true
  title "win.ini [Tool]"
  echo "InstallDir=$(machine ini get "$ROOT" 'C:\WINDOWS\WIN.INI' Tool InstallDir '(none)')"
}

# The project is used from a copy, since generating records the package folder in the
# document; its source files are named relative to the document's folder.
cp -r "$EXAMPLE/tool.cvx" "$EXAMPLE/files" "$WORK/"

title "Generating the example package"
"$BIN/corvix" summary "$WORK/tool.cvx"
"$BIN/corvix" generate "$WORK/tool.cvx" --out "$WORK/package"
ls -l "$WORK/package"

title "Installing it on the machine $ROOT"
if ! machine run "$ROOT" "$(windows "$WORK/package/Setup.exe")"; then
  echo "The installation did not complete: see the messages above." >&2
  exit 1
fi
show_installed

title "Removing it"
if ! machine uninstall "$ROOT" "Tool 1.0"; then
  echo "The removal did not complete: see the messages above." >&2
  exit 1
fi
show_installed
