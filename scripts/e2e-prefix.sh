#!/usr/bin/env bash
# start DIR [real-folders]: makes a fresh Wine prefix in DIR for the end-to-end tests (a copy of
# the booted prefix of QM_WINE_ARCH) and keeps its wineserver running (its output away from
# CTest's pipes); with real-folders the user's shell folders (Desktop, Documents, ...) are
# folders of the prefix instead of links to the home folder, so that nothing a test installs
# lands outside the prefix. stop DIR: ends that wineserver.
set -euo pipefail
action=$1
export QM_WINEPREFIX=$2
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/wine-env.sh"
case $action in
  start)
    "$here/wine-prefix.sh" fresh
    if [ "${3:-}" = real-folders ]; then
      for link in "$WINEPREFIX"/drive_c/users/*/*; do
        if [ -L "$link" ]; then rm "$link" && mkdir "$link"; fi
      done
    fi
    wineserver -p </dev/null >/dev/null 2>&1
    "$WINELOADER" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
    ;;
  stop)
    wineserver -k 2>/dev/null || true
    ;;
esac
