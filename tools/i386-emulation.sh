#!/usr/bin/env bash
# Wine runs the Windows tests as 32-bit Linux processes. Some kernels (some
# virtual machines among them) cannot execute 32-bit programs at all; there
# the 32-bit programs run under qemu's user-mode emulator, registered for
# i386 executables through binfmt_misc. Nothing changes where they already run.
# QEMU before 8 searches free address space page by page, which makes every
# Wine process take a minute to start: the emulator comes from backports.
set -euo pipefail

[ -e /lib/ld-linux.so.2 ] || { echo "no i386 C library yet: run tools/install-deps.sh" >&2; exit 1; }
runs_i386() { /lib/ld-linux.so.2 --version >/dev/null 2>&1; }
runs_i386 && exit 0

sudo_if_needed() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

qemu_major() { qemu-i386 --version 2>/dev/null | sed -n 's/.*version \([0-9]*\).*/\1/p' | head -n 1; }
if [ "$(qemu_major)" = "" ] || [ "$(qemu_major)" -lt 8 ]; then
  echo "This kernel runs no 32-bit programs: installing qemu's i386 emulator for Wine"
  . /etc/os-release
  list=/etc/apt/sources.list.d/lerv32-backports.list
  if ! grep -rqs "${VERSION_CODENAME}-backports" /etc/apt/sources.list /etc/apt/sources.list.d; then
    echo "deb http://deb.debian.org/debian ${VERSION_CODENAME}-backports main" | sudo_if_needed tee "$list" >/dev/null
  fi
  sudo_if_needed apt-get update -qq
  sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    -t "${VERSION_CODENAME}-backports" qemu-user
fi

binfmt=/proc/sys/fs/binfmt_misc
[ -f "$binfmt/register" ] || sudo_if_needed mount -t binfmt_misc binfmt_misc "$binfmt"
if [ ! -f "$binfmt/qemu-i386" ]; then
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  echo ":qemu-i386:M::$magic:$mask:$(command -v qemu-i386):" | sudo_if_needed tee "$binfmt/register" >/dev/null
fi
runs_i386 || { echo "32-bit programs still do not run" >&2; exit 1; }
echo "32-bit programs run under $(qemu-i386 --version | head -n 1)"
