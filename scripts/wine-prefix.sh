#!/usr/bin/env bash
# Makes the project's Wine prefix of QM_WINE_ARCH ready for the tests: Windows XP as the
# reported version, a virtual desktop (no stalls without a window manager), and a recording
# script in place of a web browser. Booting a prefix takes minutes, so it is done once per
# architecture, into build/wine-template-<arch> (again only when Wine or this script change);
# every prefix is a copy of it. With "fresh" the prefix is copied anew even if it is there.
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/wine-env.sh"

boot_template() {
  local template=$1 booting=$1.booting
  rm -rf "$booting"
  mkdir -p "$booting"
  (
    export WINEPREFIX=$booting
    "$WINELOADER" wineboot.exe -i </dev/null >/dev/null 2>&1 || true
    wineserver -w
    reg() { "$WINELOADER" reg.exe add "$@" /f </dev/null >/dev/null 2>&1; }
    reg 'HKCU\Software\Wine' /v Version /d winxp
    reg 'HKCU\Software\Wine\Explorer' /v Desktop /d Default
    reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768
    # Web pages the program opens are recorded, not shown: tests read the log.
    reg 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$qm_root/scripts/record-browser.sh"
    wineserver -w
  )
  [ -f "$booting/system.reg" ] || { echo "Wine ($WINELOADER) could not boot a prefix" >&2; exit 1; }
  rm -rf "$template"
  mv "$booting" "$template"
}

mkdir -p "$qm_root/build"
exec 9>"$qm_root/build/.wine-prefix-$QM_WINE_ARCH.lock"
flock 9

stamp="$("$WINELOADER" --version) $(sha1sum <"${BASH_SOURCE[0]}")"
if [ "$(cat "$qm_wine_template/.qm-ready" 2>/dev/null)" != "$stamp" ]; then
  echo "Booting a $QM_WINE_ARCH Wine prefix (once; every test prefix is a copy of it)" >&2
  boot_template "$qm_wine_template"
  printf '%s' "$stamp" >"$qm_wine_template/.qm-ready"
fi

if [ "${1:-}" = fresh ] || ! cmp -s "$qm_wine_template/.qm-ready" "$WINEPREFIX/.qm-ready"; then
  # No wineserver may run on a prefix while it is replaced.
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  cp -a "$qm_wine_template" "$WINEPREFIX"
fi
