#!/usr/bin/env bash
# Benchmark (not a test): how long one silent command-line USB run of keyloom.exe takes
# against the simulated board, next to Wine starting a trivial program. Both run in the
# build folder's Wine session (tools/wine-session.sh start BUILD first).
#
#   bench-usb.sh BUILD prepare       program folder copy with the simulated board, board started
#   bench-usb.sh BUILD usb-run       one silent run: keyloom.exe Default-2.qbc (exit code = the run's)
#   bench-usb.sh BUILD trivial-run   Wine starting a program that returns at once
#   bench-usb.sh BUILD [RUNS]        prepare, then RUNS (default 10) of each, medians and their ratio
#
# The two single-run modes are what an external timing tool can be pointed at.
set -u
build=$(cd "${1:?build dir}" && pwd)
mode=${2:-}
envfile=$build/wine-session.env
if [ ! -f "$envfile" ]; then
  echo "no wine session for $build (run tools/wine-session.sh start $build)" >&2
  exit 1
fi
# shellcheck source=tools/wine-env.sh
. "$(dirname "$0")/wine-env.sh" "$build" || exit 1
# shellcheck disable=SC1090
. "$envfile"
bench=$build/board_usb/bench
winpath() { printf 'Z:%s' "$1" | tr '/' '\\'; }

prepare() {
  [ -f "$build/Keyloom/keyloom.exe" ] || { echo "no $build/Keyloom/keyloom.exe" >&2; return 1; }
  [ -f "$build/tests/trellissim.sys" ] && [ -f "$build/tests/qimload.dll" ] ||
    { echo "build trellissim_sys and qimload first" >&2; return 1; }
  rm -rf "$bench"
  mkdir -p "$bench/Templates"
  cp "$build/Keyloom/keyloom.exe" "$build/Keyloom/tamrin.ocx" "$bench/"
  cp "$build/Keyloom/Templates/"* "$bench/Templates/"
  cp "$build/tests/trellissim.sys" "$bench/"
  # The installer under a name Wine's launcher accepts; the program itself starts it as qimload.dll.
  cp "$build/tests/qimload.dll" "$bench/qimload.dll"
  cp "$build/tests/qimload.dll" "$bench/qimload-start.exe"
  printf '[BOARD TYPE] 2\r\n[USB MODE] True\r\n[DOWNLOAD SPEED] 100\r\n[TIMEOUT] 5000\r\n' >"$bench/Keyloom.cfg"
  printf 'int main(void) { return 0; }\n' >"$bench/trivial.c"
  local cc=i686-w64-mingw32-gcc
  [ "$WINEARCH" = win64 ] && cc=x86_64-w64-mingw32-gcc
  "$cc" -O2 -static -o "$bench/trivial.exe" "$bench/trivial.c" || return 1
  wine regsvr32 /s "$(winpath "$bench/tamrin.ocx")" </dev/null >/dev/null 2>&1
  wine "$(winpath "$bench/qimload-start.exe")" </dev/null >/dev/null 2>&1
  # One run that must succeed: the board answers.
  usb_run || { echo "the silent run against the simulated board failed (exit $?)" >&2; return 1; }
}

usb_run() {
  wine "$(winpath "$bench/keyloom.exe")" "$(winpath "$bench/Templates/Default-2.qbc")" </dev/null >/dev/null 2>&1
}

trivial_run() {
  wine "$(winpath "$bench/trivial.exe")" </dev/null >/dev/null 2>&1
}

median_ms() { # command...
  local runs=$1; shift
  local times=() i t0 t1
  for ((i = 0; i < runs; i++)); do
    t0=$(date +%s%N)
    "$@" || { echo "run failed: $*" >&2; return 1; }
    t1=$(date +%s%N)
    times+=($(((t1 - t0) / 1000000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'
}

case $mode in
  prepare) prepare ;;
  usb-run) usb_run ;;
  trivial-run) trivial_run ;;
  "" | [0-9]*)
    runs=${mode:-10}
    prepare || exit 1
    usb=$(median_ms "$runs" usb_run) || exit 1
    trivial=$(median_ms "$runs" trivial_run) || exit 1
    echo "silent USB run: median ${usb} ms over $runs runs"
    echo "trivial program: median ${trivial} ms over $runs runs"
    awk -v a="$usb" -v b="$trivial" 'BEGIN { printf "ratio: %.2f\n", a / b }'
    ;;
  *) echo "usage: $0 BUILD [prepare|usb-run|trivial-run|RUNS]" >&2; exit 2 ;;
esac
