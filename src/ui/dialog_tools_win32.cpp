// Routines shared by all dialogs: help, disabling and moving controls, dialog units.
#include "ui/dialog_base_win32.h"

#include "settings/paths.h"

namespace {

constexpr char kHelpFileName[] = "app.hlp";

}  // namespace

void HelpFilePath(char (&path)[MAX_PATH]) {
    // The running module's own file: the command line may name the program relatively.
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, sizeof program - 1);
    char folder[kPathSize];
    PathDirectory(program, folder);
    PathJoin(folder, kHelpFileName, path);
}

void ShowHelpTopic(HWND window, UINT command, ULONG_PTR data) {
    char path[MAX_PATH];
    HelpFilePath(path);
    WinHelpA(window, path, command, data);
}

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
