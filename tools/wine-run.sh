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
export WINEPREFIX="${LERV32_WINEPREFIX:-$build_dir/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win32
# A German Windows, as the library's users have it: Wine takes the code pages
# (OEM 850, ANSI 1252) from the locale, at every start (tools/install-deps.sh
# generates it).
export LC_ALL=de_DE.UTF-8
# No window may open on a developer's screen and wait there. A test that
# brings an X server of its own (xvfb-run) keeps it with LERV32_WINE_KEEP_DISPLAY=1.
[ "${LERV32_WINE_KEEP_DISPLAY:-}" = 1 ] || unset DISPLAY
unset WAYLAND_DISPLAY
# Tests run in parallel: the first one makes the prefix while the others wait.
(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init >/dev/null 2>&1 || true
    wineserver -w
  fi
) 9>"$WINEPREFIX.lock"

dll_dirs="$(winepath -w "$build_dir/lebase32" 2>/dev/null);$(winepath -w "$build_dir" 2>/dev/null)"
export WINEPATH="$dll_dirs"
exec wine "$program" "$@"
