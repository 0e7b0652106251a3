#!/usr/bin/env bash
# The program folder's binaries are release binaries: no debug information inside, and a
# debug link to the file beside the build that holds it (which must exist).
#   check-release-binaries.sh OBJDUMP DEBUG_DIR BINARY...
set -u
objdump=${1:?objdump} debug_dir=${2:?debug folder}
shift 2
rc=0
for f in "$@"; do
  sections=$("$objdump" -h "$f") || { echo "$f: cannot be read"; rc=1; continue; }
  if grep -q ' \.debug_' <<<"$sections"; then
    echo "$f: carries debug information"
    rc=1
  fi
  if ! grep -q ' \.gnu_debuglink' <<<"$sections"; then
    echo "$f: has no debug link"
    rc=1
  elif [ ! -s "$debug_dir/$(basename "$f").debug" ]; then
    echo "$f: its debug file $debug_dir/$(basename "$f").debug is missing"
    rc=1
  fi
done
[ $rc -eq 0 ] && echo "release binaries with debug links: $*"
exit $rc
