#!/usr/bin/env bash
# The builder's documents between the two systems: a .cvx compound file written by corvix on
# Linux is read by corvix.exe under wine64 (through the system's structured storage) as the
# same document, and one written by corvix.exe is read back by corvix as the same document;
# the summary information each side writes back from the same file is the same but for the
# time of the save and the editing time; a damaged file is refused by both.
#
#   scripts/wine/documents-under-wine.sh HOST_BIN WINDOWS_BIN
#
# HOST_BIN holds the Linux corvix, WINDOWS_BIN corvix.exe; VANDREL_WINE names the wine64
# loader, and WINEPREFIX the prefix to run in. The summary information is read with
# python3-olefile.
set -euo pipefail
source "$(dirname "$0")/under-wine-preamble.sh" documents-under-wine.sh documents "$@"

linux() { "$host_bin/corvix" "$@"; }
windows() {  # COMMAND DOC [OUT]: the paths given in their Windows form
  local command=$1
  shift
  local paths=()
  for path in "$@"; do paths+=("$(windows_path "$path")"); done
  "$wine" "$win_bin/corvix.exe" "$command" "${paths[@]}" | tr -d '\r'
}
same() {  # WHAT EXPECTED ACTUAL
  diff -u --label "$2" --label "$3" "$work/$2" "$work/$3" >&2 || fail "$1 differs"
}

linux convert examples/tool.cvx "$work/linux.cvx"
linux dump "$work/linux.cvx" >"$work/linux.txt"
windows dump "$work/linux.cvx" >"$work/read-by-windows.txt"
same "the document corvix.exe reads from corvix's file" linux.txt read-by-windows.txt

windows convert "$work/linux.cvx" "$work/windows.cvx"
linux dump "$work/windows.cvx" >"$work/read-back.txt"
same "the document corvix reads from corvix.exe's file" linux.txt read-back.txt

# The summary information of a file written by each side from the same document.
linux convert "$work/linux.cvx" "$work/linux-again.cvx"
summary() {
  /usr/bin/python3 - "$work/$1" >"$work/$1.summary" <<'PYTHON'
import sys
import olefile

storage = olefile.OleFileIO(sys.argv[1])
info = storage.get_metadata()
for name in info.SUMMARY_ATTRIBS:
    if name not in ("last_saved_time", "total_edit_time"):
        print(name, repr(getattr(info, name)))
PYTHON
}
summary linux-again.cvx
summary windows.cvx
same "the summary information written back" linux-again.cvx.summary windows.cvx.summary

# A file cut short is refused by both, with a message and the failure status.
head -c 1536 "$work/linux.cvx" >"$work/damaged.cvx"
for side in linux windows; do
  status=0
  "$side" dump "$work/damaged.cvx" >/dev/null 2>"$work/$side.err" || status=$?
  [ "$status" = 1 ] && [ -s "$work/$side.err" ] ||
    fail "$side: a damaged document gave status $status: $(cat "$work/$side.err")"
done
echo "Documents: corvix.exe and corvix read each other's .cvx files as the same document" \
  "($(wc -l <"$work/linux.txt") lines, $(grep -c . "$work/windows.cvx.summary") summary fields)"
