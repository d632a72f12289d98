#!/usr/bin/env bash
# Remakes the import library of a 32-bit DLL whose exports carry plain names.
# Callers compiled against the header reference the stdcall names (Foo@8);
# the import library must map each of them to the plain export (Foo). The
# decorated names come from the DLL's own symbol table.
#   stdcall-implib.sh DEF_FILE DLL IMPLIB
set -euo pipefail
def_file=$1 dll=$2 implib=$3
symbols=$(i686-w64-mingw32-nm "$dll" | awk '$2 == "T" {print $3}')
decorated_def=$(mktemp)
trap 'rm -f "$decorated_def"' EXIT
{
  echo "LIBRARY $(basename "$dll")"
  echo "EXPORTS"
  sed -n '/^EXPORTS/,$p' "$def_file" | tail -n +2 | sed 's/;.*//' | awk 'NF {print $1}' |
  while read -r name; do
    match=$(grep -E "^_${name}@[0-9]+$" <<<"$symbols" | head -n 1 || true)
    if [ -n "$match" ]; then echo "    ${match#_}"; else echo "    $name"; fi
  done
} >"$decorated_def"
i686-w64-mingw32-dlltool -k -d "$decorated_def" -D "$(basename "$dll")" -l "$implib"
