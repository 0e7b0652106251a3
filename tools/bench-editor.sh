#!/usr/bin/env bash
# Benchmark (not a test): how long the editor takes to start until its window is fully
# painted, and each switch of mode and view (Key Assignments to Panel Designer and back
# with the questions answered, panel view to table view and back, key captions to
# user-text captions and back), with the Quorba/4 and the Quorba/2 default panel and keys
# as working files, next to a trivial program that shows a window of the same size. All
# runs go to one Wine session of its own (prefix BUILD/wineprefix-bench, display and
# server started here and ended at the end), apart from the tests' session: the
# port-access control it registers must not stay in the tests' prefix.
#
#   bench-editor.sh BUILD [RUNS] [SHOTS_DIR]
#
# RUNS (default 7) runs of each, taking turns; prints the medians, their ratio to the
# trivial window, and how many different pictures the window showed during each step.
# With SHOTS_DIR the first run saves a picture of every state there.
set -u
build=$(cd "${1:?build dir}" && pwd)
runs=${2:-7}
shots=${3:-}
tools=$(cd "$(dirname "$0")" && pwd)
helper=$build/tests/kl_bench_editor.exe
for f in "$build/Keyloom/keyloom.exe" "$build/Keyloom/tamrin.ocx" "$helper"; do
  [ -f "$f" ] || { echo "no $f (build the folder first: cmake --build $build)" >&2; exit 1; }
done
prefix=wineprefix-bench
"$tools/wine-session.sh" start "$build" "$prefix" >/dev/null || exit 1
# shellcheck source=tools/wine-env.sh
. "$tools/wine-env.sh" "$build" "$prefix" || exit 1
# shellcheck disable=SC1090
. "$build/$prefix-session.env"
winpath() { printf 'Z:%s' "$1" | tr '/' '\\'; }

bench=$build/bench-editor
end_session() {
  wine regsvr32 /u /s "$(winpath "$bench/quorba4/tamrin.ocx")" </dev/null >/dev/null 2>&1
  "$tools/wine-session.sh" stop "$build" "$prefix" >/dev/null
}
trap end_session EXIT
args=()
for board in 4 2; do
  dir=$bench/quorba$board
  rm -rf "$dir"
  mkdir -p "$dir/Templates"
  cp "$build/Keyloom/keyloom.exe" "$build/Keyloom/tamrin.ocx" "$dir/"
  cp "$build/Keyloom/Templates/"* "$dir/Templates/"
  printf '[BOARD TYPE] %s\r\n[USB MODE] True\r\n[DOWNLOAD SPEED] 100\r\n[TIMEOUT] 5000\r\n' "$board" >"$dir/Keyloom.cfg"
  cp "$dir/Templates/Default-$board.qbc" "$dir/work.qbc"
  cp "$dir/Templates/Default_Quorba_$board.cpl" "$dir/work.cpl"
  args+=("Quorba/$board=$(winpath "$dir")")
done
# The programming window hosts the port-access control: registered as set-up would.
wine regsvr32 /s "$(winpath "$bench/quorba4/tamrin.ocx")" </dev/null >/dev/null 2>&1
if [ -n "$shots" ]; then
  mkdir -p "$shots"
  shots=$(cd "$shots" && pwd)
  args=(--shots "$(winpath "$shots")" "${args[@]}")
fi

out=$bench/result.txt
# The helper's output goes to a file: a pipe would stay open as long as Wine's own
# processes, which inherit it.
wine "$(winpath "$helper")" "$runs" "${args[@]}" </dev/null >"$out" 2>"$bench/progress.txt"
rc=$?
cat "$out"
if [ $rc -ne 0 ]; then
  cat "$bench/progress.txt" >&2
  exit $rc
fi
