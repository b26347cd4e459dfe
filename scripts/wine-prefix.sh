#!/usr/bin/env bash
# Creates the project's Wine prefix (once) and sets it up for the tests: Windows XP as the
# reported version, a virtual desktop (no stalls without a window manager), and a recording
# script in place of a web browser. Safe to run again.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

mkdir -p "$(dirname "$WINEPREFIX")"
if [ ! -f "$WINEPREFIX/.qm-ready" ]; then
  wineboot -i </dev/null >/dev/null 2>&1 || true
  wineserver -w
  wine reg add 'HKCU\Software\Wine' /v Version /d winxp /f </dev/null >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f \
    </dev/null >/dev/null 2>&1
  # Web pages the program opens are recorded, not shown: tests read the log.
  browser=$qm_root/scripts/record-browser.sh
  wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$browser" /f \
    </dev/null >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.qm-ready"
fi
