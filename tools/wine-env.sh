# shellcheck shell=bash
# Sourced by the scripts that run Windows programs under Wine: the tests'
# prefix and environment for the build tree $build_dir, and wine_prefix_ready,
# which makes the prefix once (the first caller makes it while the others wait).
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

# A folder as the Windows programs see it: the whole file system is drive Z:.
wine_path() { local path=$1; printf 'Z:%s' "${path//\//\\}"; }

wine_prefix_ready() {
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      timeout 600 wineboot --init >/dev/null 2>&1 || true
      timeout 300 wineserver -w || true
    fi
  ) 9>"$WINEPREFIX.lock"
}
