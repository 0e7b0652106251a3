#!/usr/bin/env bash
# Exit 0 when this kernel runs 32-bit x86 Linux programs, 1 when it refuses them.
# Asks the kernel directly with the smallest such program (a 93-byte ELF that only calls
# exit(0)), so the answer does not depend on any 32-bit package being installed.
set -u
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
# ELF header, one loadable segment at 0x08048000, then: mov eax,1; xor ebx,ebx; int 0x80.
printf '%b' '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
  '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00' \
  '\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00' \
  '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' \
  '\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' \
  '\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$dir/exit0"
chmod +x "$dir/exit0"
"$dir/exit0" </dev/null >/dev/null 2>&1 || exit 1
