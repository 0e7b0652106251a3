#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing Keyloom (run as root).
# Idempotent: does nothing when every package is already there. Both Windows builds (32- and
# 64-bit) and both Wine loaders are installed whatever the kernel runs; tools/can-run-win32.sh
# decides at test time whether the 32-bit one can be used.
set -eu
pkgs="cmake make g++ clang libclang-rt-14-dev googletest libgtest-dev
      g++-mingw-w64-i686 mingw-w64-i686-dev mingw-w64-tools binutils-mingw-w64-i686
      g++-mingw-w64-x86-64 mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
      wine wine32:i386 wine64 libwine-dev xvfb xauth x11-utils imagemagick python3 fonts-liberation
      nasm libunicorn-dev"
missing=""
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  missing="(i386)"
fi
for p in $pkgs; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -z "$missing" ]; then
  exit 0
fi
echo "installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update
# shellcheck disable=SC2086
apt-get install -y --no-install-recommends $pkgs
