#!/usr/bin/env bash
# The main job on the embedded default: installs what is missing, builds the
# library, the sqlsim driver and the example host program, and runs it on a
# sqlsim database in a folder of its own.
#   tools/example.sh [--no-install] [RECORDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" = "--no-install" ]; then shift; else bash "$root/tools/install-deps.sh"; fi
build=${LERV32_BUILD_ROOT:-$root/out}/example
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target walk_keys sqlsimodbc
data=$(mktemp -d)
echo "data folder: $data"
"$build/examples/walk_keys" "$build/sqlsim/odbc/libsqlsimodbc.so" "$data" \
  "$root/examples/kunde.def" "$root/sql/dpxfunc.sql" "${1:-3000}"
