#!/bin/sh
# Checks that the programs a scripted or console run executes need no Qt library (their ELF
# DT_NEEDED entries, as readelf or objdump lists them), and that the gui module does, which
# shows the listing was read.
#
#   check_no_qt_needed.sh MODULE PROGRAM...
set -eu

needed() {
  if command -v readelf >/dev/null 2>&1; then
    readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\].*/\1/p'
  else
    objdump -p "$1" | awk '$1 == "NEEDED" { print $2 }'
  fi
}

module=$1
shift
if ! needed "$module" | grep -q '^libQt6Widgets'; then
  echo "the gui module $module does not list libQt6Widgets among its needed libraries:" >&2
  needed "$module" >&2
  exit 1
fi
status=0
for program in "$@"; do
  qt=$(needed "$program" | grep -i '^libqt' || true)
  if [ -n "$qt" ]; then
    echo "$program needs Qt libraries:" $qt >&2
    status=1
  fi
done
exit $status
