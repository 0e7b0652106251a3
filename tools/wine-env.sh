# Sourced by every script that starts Wine:   . tools/wine-env.sh BUILD_DIR [PREFIX_NAME]
#
# Picks the Wine loader and server that match the build folder's Windows build (the build
# writes "win32" or "win64" into BUILD_DIR/wine-arch) and exports the prefix settings for it.
# Debian's /usr/bin/wine takes the 32-bit loader whenever wine32 is installed, even on a
# kernel that cannot run it, so the loaders are called directly.
#
# Afterwards `wine ARGS` and `wineserver ARGS` are shell functions running the right binaries,
# and KL_WINE_LOADER / KL_WINE_SERVER name them.
# shellcheck shell=bash

kl_wine_build=$(cd "${1:?build dir}" && pwd)
kl_wine_arch=$(cat "$kl_wine_build/wine-arch" 2>/dev/null || echo win32)
case $kl_wine_arch in
  win64)
    KL_WINE_LOADER=/usr/lib/wine/wine64
    KL_WINE_SERVER=/usr/lib/wine/wineserver64
    ;;
  win32)
    KL_WINE_LOADER=/usr/lib/wine/wine
    KL_WINE_SERVER=/usr/lib/wine/wineserver32
    ;;
  *)
    echo "wine-env.sh: unknown build kind '$kl_wine_arch' in $kl_wine_build/wine-arch" >&2
    return 1
    ;;
esac
# Some Wine packagings have only one server binary.
[ -x "$KL_WINE_SERVER" ] || KL_WINE_SERVER=/usr/lib/wine/wineserver
export KL_WINE_LOADER KL_WINE_SERVER
export WINELOADER=$KL_WINE_LOADER
export WINESERVER=$KL_WINE_SERVER
export WINEARCH=$kl_wine_arch
export WINEPREFIX=$kl_wine_build/${2:-wineprefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

wine() { "$KL_WINE_LOADER" "$@"; }
wineserver() { "$KL_WINE_SERVER" "$@"; }

# Windows programs name Arial (and its serif and fixed siblings), which Wine does not
# ship: without these replacements it draws a wider face and laid-out texts overflow.
# Liberation's faces have the same metrics.
#
# The caption buttons are glyphs of Wine's own Marlett (package fonts-wine). This Wine does
# not look into its data folder for it, only into the prefix's Fonts folder: without the copy
# there, every title bar reads "0 1 r". Only Marlett: the other faces would change how the
# program's texts are laid out.
wine_font_replacements() {
  local face fonts=$WINEPREFIX/drive_c/windows/Fonts marlett=/usr/share/wine/fonts/marlett.ttf
  if [ -f "$marlett" ] && [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ]; then
    cp "$marlett" "$fonts/"
  fi
  for face in "Arial=Liberation Sans" "Times New Roman=Liberation Serif" "Courier New=Liberation Mono"; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${face%%=*}" /d "${face#*=}" /f </dev/null >/dev/null 2>&1
  done
}

wait_for() { # seconds, command...: polls the command until it succeeds or the time is up
  local t=$1; shift
  local end=$((SECONDS + t))
  until "$@"; do
    [ $SECONDS -ge $end ] && return 1
    sleep 0.1
  done
}

# Starts an Xvfb display of our own, logging to LOG: sets KL_XVFB_PID and DISPLAY, or says
# why and returns 1. Xvfb picks a free display itself and names it once it is ready, so
# sessions starting at the same moment can never share one.
start_xvfb() { # LOG
  local log=$1 numfile=$kl_wine_build/xvfb-$$.display
  rm -f "$numfile"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp </dev/null >"$log" 2>&1 3>"$numfile" &
  KL_XVFB_PID=$!
  if ! wait_for 30 test -s "$numfile"; then
    echo "Xvfb did not come up" >&2; cat "$log" >&2
    kill "$KL_XVFB_PID" 2>/dev/null; rm -f "$numfile"; return 1
  fi
  export DISPLAY=:$(tr -dc '0-9' <"$numfile")
  rm -f "$numfile"
}
