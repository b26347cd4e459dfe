# shellcheck shell=bash
# Sourced by the scripts that run Windows programs: the project's own 32-bit Wine prefix
# under build/, quiet, with no Mono or Gecko prompts.
qm_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${QM_WINEPREFIX:-$qm_root/build/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe="
