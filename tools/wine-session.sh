#!/usr/bin/env bash
# Starts or stops the Wine session that the Windows tests of one build folder run in:
# a private prefix inside the build folder (32- or 64-bit, as the build is), an Xvfb display
# of our own and a persistent wineserver (so driver services started by a test stay up).
#   wine-session.sh start BUILD_DIR [PREFIX [DPI]]   -> writes BUILD_DIR/wine-session.env
#   wine-session.sh stop  BUILD_DIR [PREFIX]         -> ends only what start started
# PREFIX (default wineprefix) names another prefix in the build folder, for a session
# apart from the tests' one; its settings go to BUILD_DIR/PREFIX-session.env. DPI (120,
# 144...) sets the screen's logical pixels per inch of that prefix (default 96): a
# prefix keeps it, so give each DPI a prefix of its own.
set -u
cmd=${1:?start|stop}
build=$(cd "${2:?build dir}" && pwd)
prefix=${3:-wineprefix}
dpi=${4:-}
envfile=$build/wine-session.env
[ "$prefix" = wineprefix ] || envfile=$build/$prefix-session.env
# shellcheck source=tools/wine-env.sh
. "$(dirname "$0")/wine-env.sh" "$build" "$prefix" || exit 1

stop() {
  if [ -f "$envfile" ]; then
    # shellcheck disable=SC1090
    . "$envfile"
    wineserver -k </dev/null >/dev/null 2>&1
    if [ -n "${KL_XVFB_PID:-}" ] && kill -0 "$KL_XVFB_PID" 2>/dev/null; then
      kill "$KL_XVFB_PID" 2>/dev/null
      wait_for 10 bash -c "! kill -0 $KL_XVFB_PID 2>/dev/null"
    fi
    rm -f "$envfile"
  fi
}

start() {
  stop
  start_xvfb "$build/xvfb.log" || return 1
  local xpid=$KL_XVFB_PID
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    # A 64-bit prefix on a machine without 32-bit Wine reports the missing 32-bit half
    # (syswow64) as a failure: judge by the prefix that was written, not the exit code.
    wine wineboot -i </dev/null >"$build/wineboot.log" 2>&1
    wineserver -w </dev/null >/dev/null 2>&1
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "Wine ($KL_WINE_LOADER) could not create the $WINEARCH prefix $WINEPREFIX" >&2
      cat "$build/wineboot.log" >&2
      kill $xpid 2>/dev/null
      return 1
    fi
  fi
  wineserver -p </dev/null >/dev/null 2>&1
  # No window manager runs on Xvfb: without this, Wine waits two seconds for one
  # whenever a shown window is hidden or destroyed.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  wine_font_replacements
  if [ -n "$dpi" ]; then
    # Wine reads the DPI when its server starts: set it in both places, then restart.
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
    wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
      /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
    wineserver -k </dev/null >/dev/null 2>&1
    wineserver -w </dev/null >/dev/null 2>&1
    wineserver -p </dev/null >/dev/null 2>&1
  fi
  # Warm-up with stdio going nowhere: Wine's system processes inherit it.
  wine cmd /c exit </dev/null >/dev/null 2>&1
  cat >"$envfile" <<ENV
export DISPLAY='$DISPLAY'
export KL_XVFB_PID=$xpid
ENV
  echo "wine session up ($WINEARCH): display $DISPLAY, prefix $WINEPREFIX"
}

case $cmd in
  start) start || exit 1 ;;
  stop) stop; echo "wine session stopped" ;;
  *) echo "usage: $0 start|stop BUILD_DIR [PREFIX [DPI]]" >&2; exit 2 ;;
esac
