# shellcheck shell=bash
# Sourced by the scripts that run Windows programs: the Wine of QM_WINE_ARCH (win32, the
# default, or win64) and the project's own prefix of that architecture under build/, quiet,
# with no Mono or Gecko prompts. Debian's wine, wineboot and the rest prefer the 32-bit loader
# whenever it is installed, even where it cannot run, so the scripts call $WINELOADER (the
# loader of the chosen architecture) and never those commands; wineserver picks the 64-bit
# server whenever it is there, which serves both.
qm_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
case ${QM_WINE_ARCH:=win32} in
  win32) qm_prefix_name=wineprefix loader=/usr/lib/wine/wine ;;
  win64) qm_prefix_name=wineprefix64 loader=/usr/lib/wine/wine64 ;;
  *) echo "QM_WINE_ARCH must be win32 or win64, not '$QM_WINE_ARCH'" >&2; return 1 ;;
esac
export QM_WINE_ARCH WINEARCH=$QM_WINE_ARCH WINELOADER=$loader
unset loader
export WINEPREFIX=${QM_WINEPREFIX:-$qm_root/build/$qm_prefix_name}
# The booted prefix that every prefix of this architecture is copied from.
qm_wine_template=$qm_root/build/wine-template-$QM_WINE_ARCH
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe="
