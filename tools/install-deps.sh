#!/usr/bin/env bash
# Installs what the build and the tests need, from Debian's archive, when it
# is missing. Safe to run again.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev locales
  libgtest-dev googletest libbenchmark-dev libcli11-dev libfmt-dev
  unixodbc unixodbc-dev odbcinst libsqliteodbc libsqlite3-dev python3-pyodbc
  g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-tools
  wine wine32:i386 libodbc2:i386 libsqliteodbc:i386
  g++-multilib libsqlite3-dev:i386 unixodbc-dev:i386 libncurses-dev:i386
  libncurses-dev tmux xvfb xauth imagemagick fonts-dejavu-core
)
# Node.js and npm run the Transact-SQL syntax check; a node that is already
# there (such as one from NodeSource, whose package conflicts with npm) is kept.
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  packages+=(nodejs npm)
fi

sudo_if_needed() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  sudo_if_needed dpkg --add-architecture i386
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_if_needed apt-get update -qq
  sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The Windows tests run under a German locale, as the library's users have it:
# Wine takes the OEM code page (850) from it.
if ! locale -a 2>/dev/null | grep -qx 'de_DE.utf8'; then
  grep -qx 'de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null ||
    echo 'de_DE.UTF-8 UTF-8' | sudo_if_needed tee -a /etc/locale.gen >/dev/null
  sudo_if_needed locale-gen
fi

bash "$(dirname "$0")/i386-emulation.sh"
