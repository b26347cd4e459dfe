// Routines shared by all dialogs: disabling and moving controls, dialog units. Help is in
// ui/help_topics_win32.cpp.
#include "ui/dialog_base_win32.h"

void DisableControl(DialogBase& dialog, HWND control) {
    if (control == nullptr) return;
    // A disabled control must not keep the focus: hand it to the previous tab stop first.
    if (GetFocus() == control) SendMessageA(dialog.Window(), WM_NEXTDLGCTL, 1, 0);
    EnableWindow(control, FALSE);
}

void MoveControl(DialogBase& dialog, int controlId, int x, int y, int width, int height) {
    HWND control = GetDlgItem(dialog.Window(), controlId);
    if (control != nullptr) MoveWindow(control, x, y, width, height, TRUE);
}

int DialogUnitsToPixels(DialogBase& dialog, int height) {
    RECT rect = {0, 0, 0, height};
    MapDialogRect(dialog.Window(), &rect);
    return rect.bottom;
}
