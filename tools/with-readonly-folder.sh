#!/usr/bin/env bash
# Runs a command with a program folder the user cannot write, as under Program Files for a
# standard user or on a write-protected medium: keyloom.exe, its settings and working files
# in BUILD/readonly-folder, bind-mounted read-only over itself for the command's time. The
# command sees the folder as KL_READONLY_DIR (a Windows path on drive Z:).
#   with-readonly-folder.sh BUILD_DIR COMMAND [ARGS...]
# Exit status 77 (a skip) where this machine does not let us mount (not root, no mount).
set -u
build=$(cd "${1:?build dir}" && pwd); shift
dir=$build/readonly-folder
winpath() { printf 'Z:%s' "$1" | tr '/' '\\'; }

# A mount left by an interrupted run goes first, or the copy below would fail on it.
while mountpoint -q "$dir" 2>/dev/null; do umount -l "$dir" || break; done
rm -rf "$dir" && mkdir -p "$dir" || exit 1
cp "$build/Keyloom/keyloom.exe" "$dir/" || exit 1
printf '[BOARD TYPE] 2\r\n[USB MODE] True\r\n[DOWNLOAD SPEED] 100\r\n[TIMEOUT] 5000\r\n' >"$dir/Keyloom.cfg"
cp "$build/Keyloom/Templates/Default-2.qbc" "$dir/Keyloom.qbc" || exit 1
cp "$build/Keyloom/Templates/Default_Quorba_2.cpl" "$dir/Keyloom.cpl" || exit 1

if ! { mount --bind "$dir" "$dir" && mount -o remount,bind,ro "$dir"; } 2>"$build/readonly-folder.log"; then
  echo "skipped: a read-only folder needs mount, which this machine refuses: $(cat "$build/readonly-folder.log")"
  mountpoint -q "$dir" && umount -l "$dir"
  exit 77
fi
# Lazy: Wine's processes may still have their working folder inside it.
trap 'umount -l "$dir"' EXIT
if touch "$dir/probe" 2>/dev/null; then
  echo "the folder $dir is still writable after the read-only mount" >&2
  exit 1
fi
KL_READONLY_DIR=$(winpath "$dir") "$@"
