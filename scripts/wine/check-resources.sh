#!/usr/bin/env bash
# Checks that every program of a Windows build folder carries a version resource (type 16),
# an application manifest (type 24) and an icon (type 14, the icon group), and every library
# a version resource, as
# `objdump -p` lists the top level of their resource directories; that the French programs'
# version resource is French (filed under language 040C, its string table 040c04e4, French
# in code page 1252) and the others' US English; and that the starter's manifest leaves the
# builder the padded execution level it rewrites per package.
# Usage: scripts/wine/check-resources.sh FOLDER
set -euo pipefail
folder=${1:?usage: scripts/wine/check-resources.sh FOLDER}
objdump=$(command -v x86_64-w64-mingw32-objdump || command -v objdump)

# The resource types at the top of a file's resource directory, as decimal numbers.
resource_types() {
  "$objdump" -p "$1" | sed -n '/Resource Directory section/,$p' |
    sed -n 's/^[0-9a-f]\{3\}   Entry: ID: 0x\([0-9a-f]*\),.*/\1/p' |
    while read -r hex; do echo $((16#$hex)); done
}

# The languages the version resource (type 16) of a file is filed under, as hexadecimal
# numbers: the entries of the third level below that type.
version_languages() {
  "$objdump" -p "$1" | sed -n '/Resource Directory section/,$p' | awk '
    /^[0-9a-f]+   Entry: ID: / { inside = ($4 == "0x000010,") }
    inside && /^[0-9a-f]+       Entry: ID: / { sub(",", "", $4); print $4 }'
}

# Whether a file holds the UTF-16 name of a version string table.
has_table() {  # FILE TABLE
  python3 -c 'import sys; sys.exit(sys.argv[2].encode("utf-16-le") not in open(sys.argv[1], "rb").read())' "$1" "$2"
}

count=0
for file in "$folder"/*.exe "$folder"/*.dll; do
  types=$(resource_types "$file" | tr '\n' ' ')
  wanted="14 16 24"
  case "$file" in *.dll) wanted="16" ;; esac
  for type in $wanted; do
    if ! grep -qw "$type" <<<"$types"; then
      echo "scripts/wine/check-resources.sh: $file has no resource of type $type (it has: ${types:-none})" >&2
      exit 1
    fi
  done
  case "$file" in
    *-fr.exe) language=0x00040c table=040c04e4 ;;
    *) language=0x000409 table=040904b0 ;;
  esac
  languages=$(version_languages "$file" | tr '\n' ' ')
  if [ "$languages" != "$language " ] || ! has_table "$file" "$table"; then
    echo "scripts/wine/check-resources.sh: $file has no version resource of language $language with the table $table (its languages: ${languages:-none})" >&2
    exit 1
  fi
  count=$((count + 1))
done
if [ "$(grep -c -a 'level="asInvoker"           ' "$folder/Setup.exe")" != 1 ]; then
  echo "scripts/wine/check-resources.sh: $folder/Setup.exe has no padded execution level for the builder" >&2
  exit 1
fi
echo "$folder: $count programs and libraries, each with a version resource in its language, the programs with a manifest and an icon"
