#!/usr/bin/env bash
# The kill tests at length: writers killed at random moments ROUNDS times
# per kind (appends, updates, reorganisations, blob replacements, scripts),
# on the native build in out/native (built first), or with --windows on the
# Windows build in out/windows under Wine. A failure prints the seed;
# LERV32_KILL_SEED=<seed> repeats that run.
#   tools/kill_soak.sh [--windows] [ROUNDS]   (default 1000)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree=native rounds=1000
for arg in "$@"; do
  case "$arg" in
    --windows) tree=windows ;;
    *) rounds=$arg ;;
  esac
done
build=${LERV32_BUILD_ROOT:-$root/out}/$tree
[ -f "$build/CMakeCache.txt" ] || { echo "no build in $build: run tools/test.sh first" >&2; exit 2; }
cmake --build "$build" --target fault_kill_tests kill_worker sqlsim_driver
LERV32_KILL_ROUNDS=$rounds ctest --test-dir "$build" -R '^fault_kill_tests$' --output-on-failure --timeout $((rounds * 60))
