#!/usr/bin/env bash
# make test's summary names the tests CTest did not run: one that skipped itself by its exit
# status (counted as passed) and a disabled one, beside the one that ran.
set -u
tools=$(cd "$(dirname "$0")/../../tools" && pwd)
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
cat >"$dir/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.16)
project(summary NONE)
enable_testing()
add_test(NAME runs COMMAND true)
add_test(NAME skips_itself COMMAND sh -c "exit 77")
set_tests_properties(skips_itself PROPERTIES SKIP_RETURN_CODE 77)
add_test(NAME switched_off COMMAND true)
set_tests_properties(switched_off PROPERTIES DISABLED TRUE)
CMAKE
cmake -S "$dir" -B "$dir/build" >/dev/null || exit 1
out=$(JOBS=1 bash "$tools/run-tests.sh" "$dir/build" "" "" "")
rc=$?
summary=${out##*=== summary}
fail=0
for want in "native tests: skips_itself: not run (Skipped)" "native tests: switched_off: not run (Disabled)" \
            "Total: 2 passed, 0 failed"; do
  grep -qxF -- "$want" <<<"$(sed 's/^  //' <<<"$summary")" || { echo "summary lacks: $want"; fail=1; }
done
[ $rc -eq 0 ] || { echo "run-tests.sh exited $rc"; fail=1; }
[ $fail -eq 0 ] || { echo "$summary"; exit 1; }
echo "the summary names both tests that did not run"
