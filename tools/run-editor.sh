#!/usr/bin/env bash
# `make run`: starts the Keyloom editor from the built program folder under Wine.
# With a working X display the editor opens there and this script waits for it to
# close. Without one it runs on a virtual display of its own, saves a screenshot
# of the editor to BUILD/screenshots/editor.png and ends what it started.
set -u
build=$(cd "${1:-build/win}" && pwd)
progdir=$build/Keyloom
# shellcheck source=tools/wine-env.sh
. "$(dirname "$0")/wine-env.sh" "$build" wineprefix-run || exit 1
winpath() { printf 'Z:%s' "$1" | tr '/' '\\'; }

xpid=""
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  start_xvfb "$build/run-xvfb.log" || exit 1
  xpid=$KL_XVFB_PID
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the Wine prefix $WINEPREFIX ..."
  wine wineboot -i </dev/null >/dev/null 2>&1
  wineserver -w </dev/null >/dev/null 2>&1
fi
wineserver -p </dev/null >/dev/null 2>&1
# No window manager runs on the virtual display: Wine then draws the title bars itself
# (and does not wait for a manager whenever a window is hidden); on a real display the
# desktop's manager does.
managed=Y
[ -n "$xpid" ] && managed=N
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d $managed /f </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
wine_font_replacements
# The programming window hosts the port-access control: register it as setup would.
if [ -f "$progdir/tamrin.ocx" ]; then
  wine regsvr32 /s "$(winpath "$progdir/tamrin.ocx")" </dev/null >/dev/null 2>&1
fi

if [ -z "$xpid" ]; then
  wine "$(winpath "$progdir/keyloom.exe")" "$@"
  rc=$?
  wineserver -k </dev/null >/dev/null 2>&1
  exit $rc
fi

wine "$(winpath "$progdir/keyloom.exe")" </dev/null >/dev/null 2>&1 &
kpid=$!
mkdir -p "$build/screenshots"
shot=$build/screenshots/editor.png
# A blank screen: one colour, or the few of an empty window frame.
painted() { [ "$(identify -format %k "$1" 2>/dev/null || echo 0)" -gt 16 ]; }
if wait_for 60 bash -c "xwininfo -root -tree 2>/dev/null | grep -q '\"Keyloom'"; then
  # The window exists before it is painted: take pictures until one is not blank and the
  # screen has then stayed the same for a while (the first-run dialog comes up late).
  tmp=$shot.tmp.png
  prev="" same=0 rc=1
  end=$((SECONDS + 60))
  while [ $SECONDS -lt $end ]; do
    import -window root "$tmp" 2>/dev/null
    cur=$(md5sum "$tmp" | cut -d' ' -f1)
    if painted "$tmp" && [ "$cur" = "$prev" ]; then
      same=$((same + 1))
      if [ $same -ge 4 ]; then rc=0; break; fi
    else
      same=0
    fi
    prev=$cur
    sleep 0.5
  done
  mv "$tmp" "$shot"
  if [ $rc -eq 0 ]; then
    echo "No display: the editor ran on a virtual one; screenshot saved to $shot"
  elif painted "$shot"; then
    echo "The editor kept changing for 60 s; last screenshot saved to $shot" >&2
  else
    echo "The editor window stayed blank for 60 s; screenshot saved to $shot" >&2
  fi
else
  echo "The editor window did not appear within 60 s" >&2
  rc=1
fi
wineserver -k </dev/null >/dev/null 2>&1
kill "$kpid" 2>/dev/null
kill "$xpid" 2>/dev/null
exit $rc
