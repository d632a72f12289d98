#!/usr/bin/env bash
# Runs a Windows test program under Wine with a prefix of the tests' own, so
# that nothing asks to install extra components and the user's prefix stays
# untouched. The program's own folder and the folders of the two DLLs are on
# the search path.
set -euo pipefail
program=$1
shift
build_dir=$(cd "$(dirname "$program")" && pwd)
while [ ! -f "$build_dir/CMakeCache.txt" ] && [ "$build_dir" != / ]; do
  build_dir=$(dirname "$build_dir")
done
# shellcheck source=tools/wine-env.sh
. "$(dirname "$0")/wine-env.sh"
wine_prefix_ready
WINEPATH="$(wine_path "$build_dir/lebase32");$(wine_path "$build_dir")"
export WINEPATH
exec wine "$program" "$@"
