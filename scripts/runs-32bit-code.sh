#!/usr/bin/env bash
# Tells whether this machine can execute 32-bit x86 code: runs the i386 loader of Debian's
# libc6-i386 (an amd64 package). Some machines run 64-bit user code only; there it fails with
# "Exec format error", and no 32-bit Wine (nor WoW64) can start either. Exits 0 and prints
# "yes", or exits 1 and prints why not. QM_I386_LOADER names another loader (for its test).
loader=${QM_I386_LOADER:-/lib/ld-linux.so.2}
if [ ! -e "$loader" ]; then
  echo "no: $loader is missing (package libc6-i386)"
  exit 1
fi
if ! answer=$("$loader" --version 2>&1 </dev/null); then
  echo "no: this machine runs no 32-bit code ($loader: ${answer##*: })"
  exit 1
fi
echo yes
