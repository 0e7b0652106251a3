#!/usr/bin/env bash
# Runs one GoogleTest executable under the build folder's Wine session (tools/wine-run.sh)
# and fails it when it did not run to its end, even where the process exits with 0: an
# ExitProcess(0) reached from code under test, or a crash that leaves with 0, would otherwise
# read as a pass. GoogleTest keeps a marker file while it runs (TEST_PREMATURE_EXIT_FILE) and
# writes its report at the very end; a run in which no case ran is a failure too.
#   wine-gtest.sh BUILD_DIR TEST.exe [ARGS...]
set -u
build=$(cd "${1:?build dir}" && pwd)
exe=${2:?test executable}
shift 2
here=$(cd "$(dirname "$0")" && pwd)
name=$(basename "$exe" .exe)
mkdir -p "$build/gtest-runs"
# The folder is not named after the program: some tests look for its name in their arguments.
run=$(mktemp -d "$build/gtest-runs/run.XXXXXX") || exit 1
trap 'rm -rf "$run"' EXIT
winpath() { printf 'Z:%s' "$1" | tr '/' '\\'; }
TEST_PREMATURE_EXIT_FILE=$(winpath "$run/running") \
  "$here/wine-run.sh" "$build" "$exe" "--gtest_output=xml:$(winpath "$run/report.xml")" "$@"
rc=$?
[ $rc -eq 0 ] || exit $rc
if [ -e "$run/running" ]; then
  echo "$name ended early with exit status 0, before GoogleTest finished (ExitProcess or a crash in code under test)"
  exit 1
fi
if [ ! -s "$run/report.xml" ]; then
  echo "$name exited with 0 but GoogleTest wrote no report: it did not run to its end"
  exit 1
fi
# The cases that ran, not those the filter matched: a disabled case is listed as not run.
cases=$(grep -o '<testcase [^>]*status="run"' "$run/report.xml" | wc -l)
if [ "$cases" -eq 0 ]; then
  echo "$name ran no test case"
  exit 1
fi
