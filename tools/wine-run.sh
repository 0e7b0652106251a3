#!/usr/bin/env bash
# Runs one Windows executable under the build folder's Wine session and returns its exit code.
#   wine-run.sh BUILD_DIR PROGRAM.exe [ARGS...]
# The program learns where the program folder and the build folder are through
# KL_PROGRAM_DIR / KL_BUILD_DIR (Windows paths on drive Z:).
set -u
build=$(cd "${1:?build dir}" && pwd); shift
envfile=$build/wine-session.env
if [ ! -f "$envfile" ]; then
  echo "no wine session for $build (run tools/wine-session.sh start $build)" >&2
  exit 1
fi
# shellcheck source=tools/wine-env.sh
. "$(dirname "$0")/wine-env.sh" "$build" || exit 1
# shellcheck disable=SC1090
. "$envfile"
winpath() { printf 'Z:%s' "$1" | tr '/' '\\'; }
export KL_PROGRAM_DIR
KL_PROGRAM_DIR=$(winpath "$build/Keyloom")
export KL_BUILD_DIR
KL_BUILD_DIR=$(winpath "$build")
export KL_SOURCE_DIR
KL_SOURCE_DIR=$(winpath "$(cd "$(dirname "$0")/.." && pwd)")
exec "$KL_WINE_LOADER" "$@"
