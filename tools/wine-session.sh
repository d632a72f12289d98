#!/usr/bin/env bash
# Keeps one Wine server for the tests of a Windows build tree, so that every
# test program starts in a session whose start-up has finished.
#   tools/wine-session.sh start BUILD_DIR   (prints how long a program takes to start)
#   tools/wine-session.sh stop BUILD_DIR
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: $0 start|stop BUILD_DIR" >&2
  exit 2
fi
action=$1
build_dir=$(cd "$2" && pwd)
# shellcheck source=tools/wine-env.sh
. "$(dirname "$0")/wine-env.sh"
boot_done=$build_dir/tests/wine_boot_done.exe

timed_start() {
  local started=$SECONDS
  WINEDEBUG=-all,err+environ timeout 900 wine "$boot_done" >&2 || echo "wine-session: $boot_done failed" >&2
  echo $((SECONDS - started))
}

case $action in
  start)
    wine_prefix_ready
    wineserver -k 2>/dev/null || true
    # Persistent: the server outlives the gaps between test programs.
    wineserver -p </dev/null >/dev/null 2>&1
    first=$(timed_start)
    again=$(timed_start)
    echo "wine-session: the first program started after ${first}s, the next after ${again}s"
    if [ "$again" -gt 30 ]; then
      echo "wine-session: programs still wait for the session's start-up; Wine's processes:" >&2
      pgrep -a -f '\.exe' >&2 || true
    fi
    ;;
  stop)
    wineserver -k 2>/dev/null || true
    ;;
  *)
    echo "usage: $0 start|stop BUILD_DIR" >&2
    exit 2
    ;;
esac
