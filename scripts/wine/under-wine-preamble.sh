# The start shared by the scripts that compare the two systems under Wine (sourced, not run):
#
#   source scripts/wine/under-wine-preamble.sh SCRIPT_NAME SCRATCH_NAME HOST_BIN WINDOWS_BIN
#
# Goes to the repository's root and sets host_bin and win_bin (the two folders, made
# absolute), wine (VANDREL_WINE, else wine64) and work (a new scratch folder
# vandrel-SCRATCH_NAME-XXXXXX, removed on exit); WINEPREFIX must name the prefix to run in.
# The programs run with the scripted interaction. Defines fail (one line on standard error,
# then exit 1) and windows_path (a host path as both machines see it: drive Z: is the host's
# root).
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
script_name=$1
host_bin=$(realpath "${3:?usage: scripts/wine/$script_name HOST_BIN WINDOWS_BIN}")
win_bin=$(realpath "${4:?usage: scripts/wine/$script_name HOST_BIN WINDOWS_BIN}")
wine=${VANDREL_WINE:-$(command -v wine64 || echo /usr/lib/wine/wine64)}
: "${WINEPREFIX:?the Wine prefix to run in}"
work=$(mktemp -d "${TMPDIR:-/tmp}/vandrel-$2-XXXXXX")
trap 'rm -rf "$work"' EXIT
export VANDREL_UI=scripted

fail() { echo "scripts/wine/$script_name: $*" >&2; exit 1; }
windows_path() { printf 'Z:%s' "$1" | tr '/' '\\'; }
