#!/usr/bin/env bash
# The 32-bit probe gives the same answer when the temporary folder is mounted noexec: a
# folder that refuses every program must not read as a kernel that refuses 32-bit ones.
# Needs a private mount namespace; where none can be made the test is skipped (exit 77).
set -u
probe=$(cd "$(dirname "$0")/../../tools" && pwd)/kernel-runs-32bit.sh
bash "$probe"
expected=$?
unshare -m --propagation private true 2>/dev/null || { echo "no private mount namespace here"; exit 77; }
noexec=$(mktemp -d) || exit 1
trap 'rmdir "$noexec"' EXIT
# A fresh mount point rather than /tmp itself, which may hold this very checkout.
unshare -m --propagation private bash -c \
  'mount -t tmpfs -o noexec tmpfs "$2" || exit 77; TMPDIR=$2 bash "$1"' _ "$probe" "$noexec"
got=$?
[ $got -eq 77 ] && { echo "cannot mount a noexec folder here"; exit 77; }
if [ $got -ne $expected ]; then
  echo "probe says $got with a noexec temporary folder, $expected without"
  exit 1
fi
echo "probe says $expected with and without a noexec temporary folder"
