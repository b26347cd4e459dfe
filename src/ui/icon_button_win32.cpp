#include "ui/icon_button_win32.h"

namespace {

constexpr char kPreviousProcedureProperty[] = "OCb";

}  // namespace

LRESULT CALLBACK IconButtonProcedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    auto previous = reinterpret_cast<WNDPROC>(GetPropA(button, kPreviousProcedureProperty));
    if (message == WM_DESTROY) {
        auto icon = reinterpret_cast<HICON>(SendMessageA(button, BM_GETIMAGE, IMAGE_ICON, 0));
        if (icon != nullptr) DestroyIcon(icon);
        RemovePropA(button, kPreviousProcedureProperty);
        if (previous != nullptr) {
            SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        }
    }
    return previous != nullptr ? CallWindowProcA(previous, button, message, wParam, lParam) : 0;
}

bool SetButtonIcon(DialogBase& dialog, int controlId, int iconId) {
    auto icon = static_cast<HICON>(
        LoadImageA(ProgramInstance(), MAKEINTRESOURCEA(iconId), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    HWND button = GetDlgItem(dialog.Window(), controlId);
    if (button == nullptr) {
        if (icon != nullptr) DestroyIcon(icon);
        return false;
    }
    if (icon != nullptr) {
        auto earlier = reinterpret_cast<HICON>(
            SendMessageA(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)));
        if (earlier != nullptr && earlier != icon) DestroyIcon(earlier);
    }
    if (GetPropA(button, kPreviousProcedureProperty) == nullptr) {
        auto previous = GetWindowLongPtrA(button, GWLP_WNDPROC);
        SetPropA(button, kPreviousProcedureProperty, reinterpret_cast<HANDLE>(previous));
        SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&IconButtonProcedure));
    }
    return icon != nullptr;
}
