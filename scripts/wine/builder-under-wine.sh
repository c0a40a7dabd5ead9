#!/usr/bin/env bash
# The graphical builder driven by one answers file on both systems: corvix.exe's Win32 windows
# under wine64 and, where the Linux corvix has its Qt windows, those offscreen on an emulated
# machine. Each run opens a copy of the example document, edits a setting through the
# settings sheet, adds a directory and a file through their pages, undoes the file and redoes
# it, saves, generates the package and closes, answering Yes to the save question (the
# generation left the document changed). Both runs work in the same folder, one after the
# other, so that the documents name the same files; the two saved documents must be the same
# in their text form (corvix dump), and each run must have made its package.
#
#   scripts/wine/builder-under-wine.sh HOST_BIN WINDOWS_BIN
#
# HOST_BIN holds the Linux corvix, WINDOWS_BIN corvix.exe; VANDREL_WINE names the wine64
# loader, and WINEPREFIX the prefix to run in (its null graphics driver is enough).
set -euo pipefail
source "$(dirname "$0")/under-wine-preamble.sh" builder-under-wine.sh builder "$@"

doc=$work/doc
package=$work/package
answers=$work/answers.ini
prepare() {
  rm -rf "$doc" "$package"
  mkdir -p "$doc/extra" "$package"
  cp examples/tool.cvx "$doc/"
  cp -r examples/files "$doc/"
  printf 'Notes on the tool.\r\n' >"$doc/extra/notes.txt"
}
cat >"$answers" <<ANSWERS
[Answers]
Default=Yes
[Builder]
Commands=settings,directory,file,undo,redo,save,generate
[Wizard]
Title=Tool 1.0 Setup (edited)
DirName=docs
Source=$(windows_path "$doc/extra/notes.txt")
[Folders]
1=$(windows_path "$package")
ANSWERS

# What each run must have left: the edits saved, the package made.
check_run() {  # SIDE
  "$host_bin/corvix" dump "$doc/tool.cvx" >"$work/$1.txt" || fail "$1: the saved document cannot be read"
  grep -q '^Title=Tool 1.0 Setup (edited)' "$work/$1.txt" || fail "$1: the setting was not saved"
  grep -q '=docs,' "$work/$1.txt" || fail "$1: the directory was not saved"
  grep -q '=notes.txt,notes.txt,' "$work/$1.txt" || fail "$1: the file was not saved"
  grep -q "^LastGenPath=$(windows_path "$package" | sed 's/\\/\\\\/g')" "$work/$1.txt" ||
    fail "$1: the document changed by the generation was not saved when the builder closed"
  [ -f "$package/Setup.exe" ] || fail "$1: no package was generated"
}

prepare
VANDREL_ANSWERS=$(windows_path "$answers") "$wine" "$win_bin/corvix.exe" "$(windows_path "$doc/tool.cvx")" \
  >"$work/windows.out" 2>&1 || { cat "$work/windows.out" >&2; fail "corvix.exe ended with a failure"; }
check_run windows

# The Linux builder's windows, when the Linux programs have them.
prepare
if ! env QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config" VANDREL_MACHINE="$work/machine" \
  VANDREL_ANSWERS="$answers" "$host_bin/corvix" "$doc/tool.cvx" >"$work/linux.out" 2>&1; then
  if grep -q 'no graphical builder' "$work/linux.out"; then
    echo "scripts/wine/builder-under-wine.sh: the Linux corvix has no windows; corvix.exe's run alone was checked"
    exit 0
  fi
  cat "$work/linux.out" >&2
  fail "corvix ended with a failure"
fi
check_run linux
diff -u --label linux --label windows "$work/linux.txt" "$work/windows.txt" >&2 ||
  fail "corvix.exe and corvix saved different documents from the same answers"
echo "scripts/wine/builder-under-wine.sh: corvix.exe and corvix saved the same document"
