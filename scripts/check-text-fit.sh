#!/usr/bin/env bash
# Finds texts the windows cut off. Makes the pictures of scripts/screenshots.sh at the default
# scale and at 125% and 150% (QT_SCALE_FACTOR), measuring every window as it is pictured
# (VANDREL_TEXT_FIT), and lists each label, button, field, title, column or item whose text
# does not fit. Exits 1 when there is one.
# VANDREL_BIN=FOLDER: the programs to use (build/bin by default); SCALES overrides the list.
set -euo pipefail
cd "$(dirname "$0")/.."
export VANDREL_BIN=${VANDREL_BIN:-build/bin}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
status=0
for scale in ${SCALES:-1 1.25 1.5}; do
  report="$WORK/cut-$scale.txt"
  : >"$report"
  QT_SCALE_FACTOR=$scale VANDREL_TEXT_FIT="$report" scripts/screenshots.sh "$WORK/shots-$scale" >/dev/null
  if [ -s "$report" ]; then
    echo "at scale $scale, texts cut off:"
    sed 's/^/  /' "$report"
    status=1
  fi
done
[ "$status" = 0 ] && echo "no text cut off"
exit "$status"
