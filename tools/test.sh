#!/usr/bin/env bash
# The whole test run: installs what is missing, then builds and tests the
# native library, the same under AddressSanitizer and UndefinedBehaviorSanitizer,
# the threaded tests under ThreadSanitizer,
# the fuzz targets for a bounded time, and the 32-bit Windows DLLs under Wine.
#   tools/test.sh [--no-install]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${LERV32_BUILD_ROOT:-$root/out}
jobs=$(nproc)
fuzz_seconds=${LERV32_FUZZ_SECONDS:-30}

[ "${1:-}" = "--no-install" ] || bash "$root/tools/install-deps.sh"
# Node modules of the Transact-SQL syntax check (tests/syntax), as locked.
[ -d "$root/tools/tsql-syntax/node_modules" ] ||
  (cd "$root/tools/tsql-syntax" && npm ci --no-audit --no-fund)

step() { printf '\n==== %s\n' "$*"; }

configure_build_test() {
  local name=$1
  shift
  step "$name: build"
  cmake -S "$root" -B "$out/$name" -G Ninja "$@" >/dev/null
  cmake --build "$out/$name" -j "$jobs"
  step "$name: test"
  ctest --test-dir "$out/$name" --output-on-failure -j "$jobs"
}

configure_build_test native -DCMAKE_BUILD_TYPE=Debug


configure_build_test sanitize -DCMAKE_BUILD_TYPE=Debug -DLERV32_SANITIZE=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++

# The tests that run threads, and the driver they share, under ThreadSanitizer.
threaded_tests="frame_tests lebase32_tests records_write_tests scripts_tests tabledef_tests vtable_tests"
step "threads: build"
cmake -S "$root" -B "$out/threads" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLERV32_THREAD_SANITIZE=ON >/dev/null
# shellcheck disable=SC2086
cmake --build "$out/threads" -j "$jobs" --target sqlsim_driver settings_worker write_append_worker $threaded_tests
step "threads: test"
ctest --test-dir "$out/threads" --output-on-failure -j "$jobs" -R "^(${threaded_tests// /|})\$"

step "fuzz: build"
cmake -S "$root" -B "$out/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLERV32_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$out/fuzz" -j "$jobs"
step "fuzz: run ${fuzz_seconds}s per target"
for target in "$out"/fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  corpus=$(mktemp -d)
  echo "$(basename "$target")"
  mkdir -p "$out/fuzz/artifacts"
  # The sqlsim targets share a dictionary of Transact-SQL words.
  dict=""
  case $(basename "$target") in fuzz_sqlsim_parse|fuzz_sqlsim_batch|fuzz_sqlsim_translate) dict="-dict=$root/fuzz/sqlsim.dict" ;; esac
  # shellcheck disable=SC2086
  "$target" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 $dict \
    -artifact_prefix="$out/fuzz/artifacts/" "$corpus" 2>&1 | tail -n 2
  rm -rf "$corpus"
done

step "windows: build"
cmake -S "$root" -B "$out/windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" >/dev/null
cmake --build "$out/windows" -j "$jobs"
step "windows: test"
trap 'bash "$root/tools/wine-session.sh" stop "$out/windows"' EXIT
bash "$root/tools/wine-session.sh" start "$out/windows"
ctest --test-dir "$out/windows" --output-on-failure -j "$jobs"

step "all tests passed"
