#!/usr/bin/env bash
# `make test`: native tests, fuzz runs, then the Wine tests of the 64-bit build and, where
# this machine runs 32-bit programs, of the 32-bit build too. The 32-bit build's host checks
# (its files read on this machine, no Wine) run everywhere. Where the kernel runs 32-bit
# programs but 32-bit Wine is missing or broken, the run fails (KL_WIN32_TESTS=optional turns
# that into a warning). Every suite runs even when an earlier one failed; the summary says
# which ran, why any did not, and names every test that CTest did not run and every case a
# test program skipped.
#   run-tests.sh NATIVE_DIR FUZZ_DIR WIN64_DIR WIN32_DIR   (an empty name skips that suite)
set -u
cd "$(dirname "$0")/.."
native=$1 fuzz=$2 win64=$3 win32=$4
jobs=${JOBS:-$(nproc)}
rc=0
passed=0 failed=0
summary=()
skipped=()
suite() { # name dir [ctest options]
  local name=$1 dir=$2
  shift 2
  echo "=== $name ($dir)"
  local log
  log=$(mktemp)
  # A suite that finds no tests has lost them: that is a failure, not a pass.
  ctest --test-dir "$dir" -j "$jobs" --output-on-failure --no-tests=error "$@" 2>&1 | tee "$log"
  if [ "${PIPESTATUS[0]}" -eq 0 ]; then
    summary+=("$name: passed")
  else
    summary+=("$name: FAILED")
    rc=1
  fi
  local counts
  counts=$(sed -n 's/.*tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\).*/\1 \2/p' "$log" | tail -n 1)
  if [ -n "$counts" ]; then
    set -- $counts
    failed=$((failed + $1))
    passed=$((passed + $2 - $1))
  fi
  # Tests CTest did not run: skipped by their exit status (counted as passed above) or
  # disabled (not counted). "\t  2 - name (Skipped)" under its closing heading.
  local t
  while read -r t; do
    [ -n "$t" ] && skipped+=("$name: $t")
  done < <(sed -n '/^The following tests did not run:/,/^[^[:space:]]/ s/^[[:space:]]\{1,\}[0-9]\{1,\} - \(.*\) (\(.*\))$/\1: not run (\2)/p' "$log")
  rm -f "$log"
  # A test program that skips a case still exits 0: name each such case.
  while read -r t; do
    [ -n "$t" ] && skipped+=("$name: $t: skipped inside its test program")
  done < <(sed -n 's/^\[  SKIPPED \] \([A-Za-z_][A-Za-z0-9_/]*\.[A-Za-z0-9_/]*\).*/\1/p' \
             "$dir/Testing/Temporary/LastTest.log" 2>/dev/null | sort -u)
}
[ -n "$native" ] && suite "native tests" "$native"
[ -n "$fuzz" ] && suite "fuzz runs" "$fuzz"
[ -n "$win64" ] && suite "Wine tests, 64-bit build" "$win64"
if [ -n "$win32" ]; then
  why=$(bash tools/can-run-win32.sh)
  code=$?
  case $code in
    0) suite "Wine tests, 32-bit build" "$win32" ;;
    1) suite "host checks, 32-bit build" "$win32" -L host
       summary+=("Wine tests, 32-bit build: not run ($why; the build was compiled and its host checks ran)") ;;
    *) suite "host checks, 32-bit build" "$win32" -L host
       # The 32-bit build is the product: where the kernel could run it, not testing it is a
       # failure, unless whoever runs this says they knowingly test without it.
       if [ $code -eq 2 ]; then
         what=("This kernel runs 32-bit programs: install the 32-bit Wine half (make setup; tools/setup.sh says"
               "why it could not)")
       else
         what=("Whether this kernel runs 32-bit programs is unknown, so they may run here: give the probe"
               "a folder where programs may run (TMPDIR)")
       fi
       if [ "${KL_WIN32_TESTS:-}" = optional ]; then
         summary+=("WARNING: the product's own Wine tests (32-bit build) did NOT run: $why (KL_WIN32_TESTS=optional).")
       else
         summary+=("FAILED: the product's own Wine tests (32-bit build) did not run: $why." \
                   "        ${what[0]}" \
                   "        ${what[1]}, or set KL_WIN32_TESTS=optional to test without it knowingly.")
         rc=1
         failed=$((failed + 1))  # the closing count must not read as all passed
       fi ;;
  esac
fi
echo "=== summary"
printf '%s\n' "${summary[@]}"
if [ ${#skipped[@]} -gt 0 ]; then
  echo "Not run, or skipped (a skipped test counts as passed):"
  printf '  %s\n' "${skipped[@]}"
fi
echo "Total: $passed passed, $failed failed"
exit $rc
