#!/usr/bin/env bash
# Runs the Windows dialog tests under Wine on the X server that xvfb-run
# started for them, in a Wine prefix of their own (the shared prefix's desktop
# may already run without a display), and photographs the screen whenever the
# test program asks for it while its dialog is open.
#   xvfb-run -a windows_dialog_test.sh WINE_RUN PROGRAM PICTURE
set -uo pipefail
wine_run=$1 program=$2 picture=$3
[ -n "${DISPLAY:-}" ] || { echo "no X server: run this under xvfb-run" >&2; exit 1; }
build_dir=$(cd "$(dirname "$program")" && pwd)
while [ ! -f "$build_dir/CMakeCache.txt" ] && [ "$build_dir" != / ]; do build_dir=$(dirname "$build_dir"); done
export LERV32_WINEPREFIX=$build_dir/wineprefix-display LERV32_WINE_KEEP_DISPLAY=1
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
# The program sees the folder through Wine's drive Z:, the root of the file system.
export LERV32_DIALOG_SCREENSHOT="Z:${shots//\//\\}"
mkdir -p "$(dirname "$picture")"
rm -f "$picture"

# Without a window manager on the X server, windows get their captions from
# Wine's own desktop window (a virtual desktop the size of the screen).
if [ ! -f "$LERV32_WINEPREFIX/lerv32-virtual-desktop" ]; then
  printf '%s\r\n' 'REGEDIT4' '' '[HKEY_CURRENT_USER\Software\Wine\Explorer]' '"Desktop"="Default"' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]' '"Default"="800x600"' >"$shots/desktop.reg"
  (cd "$build_dir" && "$wine_run" reg import "$LERV32_DIALOG_SCREENSHOT\desktop.reg") &&
    touch "$LERV32_WINEPREFIX/lerv32-virtual-desktop"
fi

"$wine_run" "$program" &
program_pid=$!
while kill -0 "$program_pid" 2>/dev/null; do
  if [ -e "$shots/shot.request" ] && [ ! -e "$shots/shot.done" ]; then
    import -window root "$picture" || echo "no screenshot: import failed" >&2
    touch "$shots/shot.done"
  fi
  sleep 0.2
done
wait "$program_pid"
status=$?
# The prefix's server and desktop end before the X server does.
WINEPREFIX=$LERV32_WINEPREFIX timeout 60 wineserver -w
if [ -z "${GTEST_FILTER:-}" ] && [ ! -s "$picture" ]; then
  echo "no picture of the dialog in $picture" >&2
  status=1
fi
exit "$status"
