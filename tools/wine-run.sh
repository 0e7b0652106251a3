#!/usr/bin/env bash
# Runs one Windows executable under the build folder's Wine session and returns its exit code.
#   wine-run.sh BUILD_DIR PROGRAM.exe [ARGS...]
# The program learns where the program folder and the build folder are through
# KL_PROGRAM_DIR / KL_BUILD_DIR (Windows paths on drive Z:). KL_WINE_PREFIX names the
# session's prefix when it is not the tests' own (wine-session.sh start BUILD PREFIX).
set -u
build=$(cd "${1:?build dir}" && pwd); shift
prefix=${KL_WINE_PREFIX:-wineprefix}
envfile=$build/wine-session.env
[ "$prefix" = wineprefix ] || envfile=$build/$prefix-session.env
if [ ! -f "$envfile" ]; then
  echo "no wine session for $build in $prefix (run tools/wine-session.sh start $build $prefix)" >&2
  exit 1
fi
# shellcheck source=tools/wine-env.sh
. "$(dirname "$0")/wine-env.sh" "$build" "$prefix" || exit 1
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
