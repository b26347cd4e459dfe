// A static text that looks and acts like a web link: underlined, a hand cursor over it, and a
// click of either mouse button opens the text it shows. The state lives on the control: the
// underlined font in its "HLFont" property (deleted with the control), the procedure it
// replaced in its GWLP_USERDATA slot. The static needs SS_NOTIFY to see clicks.
#pragma once

#include <windows.h>

#include "ui/dialog_base_win32.h"

// The control that MakeHyperlink turns into a link.
constexpr int kHyperlinkControlId = 103;

// Makes control 103 of the dialog a link. Calling it again neither makes a second font nor
// loses the static's own window procedure.
void MakeHyperlink(DialogBase& dialog);

// The link's window procedure (exposed for tests).
LRESULT CALLBACK HyperlinkProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
