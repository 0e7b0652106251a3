#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing Keyloom (run as root).
# Does nothing when every package is already there.
#
# Everything both Windows builds and the 64-bit Wine tests need comes from the amd64 package
# lists alone. The 32-bit Wine half is installed only where the kernel runs 32-bit programs
# (tools/install-wine32.py: the plain install first, and where an i386 index out of step with
# its amd64 twin blocks it, versions both architectures share); where even that fails,
# set-up says so and goes on, and `make test` reports the product's tests as not run.
# No install here removes a package: where apt would, set-up names them and fails.
set -u
cd "$(dirname "$0")/.."
pkgs="cmake make g++ clang libclang-rt-14-dev googletest libgtest-dev
      g++-mingw-w64-i686 mingw-w64-i686-dev mingw-w64-tools binutils-mingw-w64-i686
      g++-mingw-w64-x86-64 mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
      wine wine64 libwine-dev xvfb xauth x11-utils imagemagick python3 fonts-liberation fonts-wine
      nasm libunicorn-dev"
pkgs32="wine32:i386"
export DEBIAN_FRONTEND=noninteractive

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
missing_of() { local p out=""; for p in $*; do installed "$p" || out="$out $p"; done; echo "$out"; }

want32=no
why32="this kernel does not run 32-bit programs"
probe=$(bash tools/kernel-runs-32bit.sh)
case $? in
  0) want32=yes ;;
  1) ;;
  *) why32=$probe ;;
esac

missing=$(missing_of $pkgs)
missing32=""
if [ $want32 = yes ]; then
  missing32=$(missing_of $pkgs32)
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
fi
[ -z "$missing$missing32" ] && exit 0

# One index that fails to download (a mirror in the middle of a sync) must not stop set-up:
# try again a few times, then install from the lists as they are.
updated=no
for try in 1 2 3; do
  if apt-get update; then updated=yes; break; fi
  echo "setup: apt-get update failed (try $try of 3)" >&2
  [ $try -lt 3 ] && sleep $((try * 5))
done
[ $updated = yes ] || echo "setup: WARNING: some package index could not be fetched; installing from the lists as they are" >&2

# apt-get install -y removes whatever installed package stands in its way, without asking:
# --no-remove makes it stop instead, before it changes anything. Its simulation (in the C
# locale, whose words this reads) then names what it would have removed.
would_remove() {
  env -u LANGUAGE LC_ALL=C apt-get install -s --no-install-recommends "$@" 2>/dev/null |
    sed -n 's/^Remv \([^ ]*\)\( \[\([^]]*\)\]\)\{0,1\}.*/\1 \3/p'
}

if [ -n "$missing" ]; then
  echo "setup: installing:$missing"
  # shellcheck disable=SC2086
  if ! apt-get install -y --no-install-recommends --no-remove $missing; then
    # shellcheck disable=SC2086
    removed=$(would_remove $missing)
    if [ -n "$removed" ]; then
      echo "setup: apt would remove installed packages to install these; nothing was changed:" >&2
      echo "$removed" | sed 's/ *$//; s/^/setup:   remove /' >&2
      echo "setup: remove or update those packages yourself, then run set-up again" >&2
    fi
    echo "setup: could not install the packages the builds and tests need:$missing" >&2
    exit 1
  fi
fi

if [ $want32 = no ]; then
  echo "setup: $why32: the 32-bit Wine half is not installed;" \
       "the 32-bit build is compiled but its Wine tests cannot run here."
elif [ -n "$missing32" ] && ! python3 tools/install-wine32.py; then
  echo "setup: WARNING: the 32-bit Wine half ($missing32) could not be installed (see above)." \
       "Going on: the 32-bit build is compiled, but its Wine tests cannot run." >&2
fi
exit 0
