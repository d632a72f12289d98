#!/usr/bin/env bash
# The job around the library with lerv, on the embedded default: the tables
# of examples/kunde.def created, generated records imported, a look at them
# by key, exported again (the same lines) and the database checked against
# the definition. Fails when a step fails or the export differs.
#   tools/lerv_walkthrough.sh DRIVER FOLDER RECORDS LERV...
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
driver=$1 data=$2 records=$3
shift 3
lerv=("$@")
export LERV_SQLSIM_DRIVER=$driver
cd "$data"
cp "$root/examples/kunde.def" .
echo "== lerv create"
"${lerv[@]}" create --data "$data" kunde.def
awk -v n="$records" 'BEGIN { for (i = 1; i <= n; i++)
  printf "%d\tKunde %d\tORT%02d\t%d.%02d\t2024-%02d-%02d\r\n", i, i, i % 50, i * 7, i % 100, i % 12 + 1, i % 28 + 1 }' \
  >kunden.txt
echo "== lerv import ($records records)"
"${lerv[@]}" import --data "$data" kunde.def kunden.txt
echo "== lerv walk"
"${lerv[@]}" walk --data "$data" --key ORT_KEY --prefix ORT07 -n 5 kunde.def
echo "== lerv export"
"${lerv[@]}" export --data "$data" kunde.def -o export.txt
cmp kunden.txt export.txt
echo "export.txt equals kunden.txt"
echo "== lerv check"
"${lerv[@]}" check --data "$data" kunde.def
