#!/usr/bin/env bash
# start DIR: makes a fresh Wine prefix in DIR for the end-to-end tests and keeps its wineserver
# running (its output away from CTest's pipes); stop DIR: ends that wineserver.
set -euo pipefail
action=$1
export QM_WINEPREFIX=$2
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/wine-env.sh"
case $action in
  start)
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    "$here/wine-prefix.sh"
    wineserver -p </dev/null >/dev/null 2>&1
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
    ;;
  stop)
    wineserver -k 2>/dev/null || true
    ;;
esac
