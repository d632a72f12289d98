#!/usr/bin/env bash
# The main job on the embedded default: installs what is missing, builds the
# library, the sqlsim driver, the example host program and lerv, and runs
# both on sqlsim databases in a folder of their own. With --windows they are
# the Windows programs built against LERV32.dll and LEBASE32.dll, run under
# Wine (whose ODBC reaches an i386 build of the driver).
#   tools/example.sh [--no-install] [--windows] [RECORDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
install=1 windows=0 records=3000
for arg in "$@"; do
  case "$arg" in
    --no-install) install=0 ;;
    --windows) windows=1 ;;
    *) records=$arg ;;
  esac
done
[ $install -eq 0 ] || bash "$root/tools/install-deps.sh"
data=$(mktemp -d)
echo "data folder: $data"
if [ $windows -eq 1 ]; then
  build=${LERV32_BUILD_ROOT:-$root/out}/example-windows
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLERV32_BUILD_TESTS=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" >/dev/null
  cmake --build "$build" --target walk_keys lerv sqlsim_driver
  driver=$build/sqlsim-i386/sqlsim/odbc/libsqlsimodbc.so
  # The Wine program's message boxes go to the terminal and take their default
  # button: no window waits for a click.
  LERV32_MSGBOX_LOG=$data/message-boxes.log "$root/tools/wine-run.sh" "$build/examples/walk_keys.exe" \
    "$driver" "$data" "$root/examples/kunde.def" "$root/sql/dpxfunc.sql" "$records"
  lerv=("$root/tools/wine-run.sh" "$build/lerv.exe")
else
  build=${LERV32_BUILD_ROOT:-$root/out}/example
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" --target walk_keys lerv sqlsimodbc
  driver=$build/sqlsim/odbc/libsqlsimodbc.so
  "$build/examples/walk_keys" "$driver" "$data" "$root/examples/kunde.def" "$root/sql/dpxfunc.sql" "$records"
  lerv=("$build/lerv")
fi

# The same job with the command-line tool, on a database of its own.
bash "$root/tools/lerv_walkthrough.sh" "$driver" "$data" "$records" "${lerv[@]}"
