#!/usr/bin/env bash
# Prints the Windows architecture the tests run as on this machine: i686 where the kernel runs
# 32-bit programs itself, x86_64 where it cannot (Wine's 32-bit side would then run under
# qemu-user, minutes for every Windows process), so that the tests use a 64-bit build of the
# same sources.
set -u
binfmt=/proc/sys/fs/binfmt_misc/qemu-i386
if [ -f "$binfmt" ] && grep -qx enabled "$binfmt"; then
  echo x86_64
elif [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  echo i686
else
  echo x86_64
fi
