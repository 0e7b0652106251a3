#!/usr/bin/env bash
# Exit 0 when this kernel runs 32-bit x86 Linux programs, 1 when it refuses them, 2 when it
# cannot tell (no folder here lets it run a program at all; the reason is printed).
# Asks the kernel directly with the smallest such program (a 93-byte ELF that only calls
# exit(0)), so the answer does not depend on any 32-bit package being installed.
#
# A folder mounted noexec (often /tmp) refuses every program, which must not read as a kernel
# that refuses 32-bit ones: the probe runs only from a folder where a shell script runs.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
dir=
trap '[ -n "$dir" ] && rm -rf "$dir"' EXIT
for base in "${TMPDIR:-/tmp}" /dev/shm /var/tmp "$top/build" "${HOME:-/root}"; do
  mkdir -p "$base" 2>/dev/null
  dir=$(mktemp -d "$base/kl-probe.XXXXXX" 2>/dev/null) || { dir=; continue; }
  printf '#!/bin/sh\nexit 0\n' >"$dir/script"
  chmod +x "$dir/script"
  "$dir/script" </dev/null >/dev/null 2>&1 && break
  rm -rf "$dir"
  dir=
done
if [ -z "$dir" ]; then
  echo "cannot tell whether this kernel runs 32-bit programs: no folder here lets a program run"
  exit 2
fi
# ELF header, one loadable segment at 0x08048000, then: mov eax,1; xor ebx,ebx; int 0x80.
printf '%b' '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
  '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00' \
  '\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00' \
  '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' \
  '\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' \
  '\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$dir/exit0"
chmod +x "$dir/exit0"
"$dir/exit0" </dev/null >/dev/null 2>&1 || exit 1
