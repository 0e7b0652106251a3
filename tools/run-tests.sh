#!/usr/bin/env bash
# `make test`: native tests, fuzz runs, then the Wine tests of the 64-bit build and, where
# this machine runs 32-bit programs, of the 32-bit build too (elsewhere only the 32-bit
# build's host checks, which need no Wine). Every suite runs even when an earlier one
# failed; the summary says which builds' Wine tests ran.
#   run-tests.sh NATIVE_DIR FUZZ_DIR WIN64_DIR WIN32_DIR   (an empty name skips that suite)
set -u
cd "$(dirname "$0")/.."
native=$1 fuzz=$2 win64=$3 win32=$4
jobs=${JOBS:-$(nproc)}
rc=0
summary=()
suite() { # name dir
  local name=$1 dir=$2
  echo "=== $name ($dir)"
  if ctest --test-dir "$dir" -j "$jobs" --output-on-failure; then
    summary+=("$name: passed")
  else
    summary+=("$name: FAILED")
    rc=1
  fi
}
[ -n "$native" ] && suite "native tests" "$native"
[ -n "$fuzz" ] && suite "fuzz runs" "$fuzz"
[ -n "$win64" ] && suite "Wine tests, 64-bit build" "$win64"
if [ -n "$win32" ]; then
  if bash tools/can-run-win32.sh; then
    suite "Wine tests, 32-bit build" "$win32"
  else
    summary+=("Wine tests, 32-bit build: not run (this machine does not run 32-bit programs; the build itself was compiled)")
    # Checks of the 32-bit build's files need no Wine.
    echo "=== host checks, 32-bit build ($win32)"
    if ctest --test-dir "$win32" -j "$jobs" -L host --output-on-failure; then
      summary+=("host checks, 32-bit build: passed")
    else
      summary+=("host checks, 32-bit build: FAILED")
      rc=1
    fi
  fi
fi
echo "=== summary"
printf '%s\n' "${summary[@]}"
exit $rc
