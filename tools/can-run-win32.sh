#!/usr/bin/env bash
# Exit 0 when this machine can run 32-bit Windows programs under Wine, by trying: the
# 32-bit Wine loader is a 32-bit Linux program, and some kernels refuse those.
/usr/lib/wine/wine --version </dev/null >/dev/null 2>&1
