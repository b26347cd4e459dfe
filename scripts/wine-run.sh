#!/usr/bin/env bash
# Runs one Windows program under the Wine of QM_WINE_ARCH in the project's prefix (the CTest
# emulator).
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
[ -f "$WINEPREFIX/system.reg" ] || "$qm_root/scripts/wine-prefix.sh" >&2
exec "$WINELOADER" "$@"
