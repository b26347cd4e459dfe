// A push button (BS_ICON) that shows an icon from the program's resources and destroys that
// icon when it is replaced or when the button is destroyed. The procedure it replaced lives
// in its "OCb" property and is put back at WM_DESTROY.
#pragma once

#include <windows.h>

#include "ui/dialog_base_win32.h"

// Loads icon resource iconId at its own size and shows it on the dialog's button controlId;
// an icon shown before is destroyed. If the icon cannot be loaded the button keeps its image
// (and still becomes an icon button). True when the new icon is shown.
bool SetButtonIcon(DialogBase& dialog, int controlId, int iconId);

// The icon button's window procedure (exposed for tests).
LRESULT CALLBACK IconButtonProcedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam);
