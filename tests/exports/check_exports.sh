#!/usr/bin/env bash
# Checks that a built library exports exactly the functions its public header
# declares, each under its plain name.
#   check_exports.sh HEADER CALL_MACRO LIBRARY elf|pe [UNIX_ONLY_DEF]
# UNIX_ONLY_DEF lists declared names that only the elf build exports.
set -euo pipefail
header=$1 macro=$2 library=$3 kind=$4 unix_only=${5:-}

declared=$(grep -oE "${macro} +[A-Za-z_][A-Za-z0-9_]*\(" "$header" | sed -E "s/${macro} +//; s/\(//" | sort -u)
if [ "$kind" = pe ] && [ -n "$unix_only" ]; then
  declared=$(comm -23 <(echo "$declared") <(awk '/^ +[A-Za-z_]/ {print $1}' "$unix_only" | sort -u))
fi
case $kind in
  elf) exported=$(nm -D --defined-only "$library" | awk '$2 ~ /^[TWi]$/ {print $3}' | sort -u) ;;
  pe) exported=$(i686-w64-mingw32-objdump -p "$library" |
        sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
        sed -nE 's/^\s*\[\s*[0-9]+\]\s+(\S+).*/\1/p' | sort -u) ;;
  *) echo "unknown kind $kind" >&2; exit 2 ;;
esac

status=0
missing=$(comm -23 <(echo "$declared") <(echo "$exported"))
extra=$(comm -13 <(echo "$declared") <(echo "$exported"))
[ -z "$missing" ] || { echo "declared but not exported:"; echo "$missing"; status=1; }
[ -z "$extra" ] || { echo "exported but not declared (or decorated):"; echo "$extra"; status=1; }
count=$(echo "$declared" | wc -l)
[ "$count" -gt 0 ] || { echo "no declarations found in $header"; status=1; }
[ $status -eq 0 ] && echo "$(basename "$library"): $count exports match $(basename "$header")"
exit $status
