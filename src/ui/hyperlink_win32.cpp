#include "ui/hyperlink_win32.h"

#include <shellapi.h>

namespace {

constexpr char kFontProperty[] = "HLFont";
constexpr WORD kHandCursorId = 32649;  // IDC_HAND
constexpr int kLinkTextSize = 260;     // at most 259 characters are opened

WNDPROC PreviousProcedure(HWND control) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(control, GWLP_USERDATA));
}

void OpenLinkText(HWND control) {
    char text[kLinkTextSize] = {};
    GetWindowTextA(control, text, sizeof text);
    // An empty text would make the shell open the current folder.
    if (text[0] == '\0') return;
    ShellExecuteA(nullptr, nullptr, text, nullptr, nullptr, SW_SHOWNORMAL);
}

// An underlined copy of the control's font (the system font when it has none set).
HFONT CreateUnderlinedFont(HWND control) {
    auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    if (font == nullptr) font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    LOGFONTA logFont = {};
    if (GetObjectA(font, sizeof logFont, &logFont) != static_cast<int>(sizeof logFont)) {
        return nullptr;
    }
    logFont.lfUnderline = TRUE;
    return CreateFontIndirectA(&logFont);
}

}  // namespace

LRESULT CALLBACK HyperlinkProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            if (HANDLE font = RemovePropA(control, kFontProperty)) DeleteObject(font);
            break;
        case WM_SETCURSOR:
            if (HCURSOR hand = LoadCursorA(nullptr, MAKEINTRESOURCEA(kHandCursorId))) {
                SetCursor(hand);
                return TRUE;
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            OpenLinkText(control);
            break;
        default:
            break;
    }
    WNDPROC previous = PreviousProcedure(control);
    if (previous == nullptr) return DefWindowProcA(control, message, wParam, lParam);
    return CallWindowProcA(previous, control, message, wParam, lParam);
}

void MakeHyperlink(DialogBase& dialog) {
    HWND control = GetDlgItem(dialog.Window(), kHyperlinkControlId);
    if (control == nullptr) return;

    if (GetPropA(control, kFontProperty) == nullptr) {
        if (HFONT underlined = CreateUnderlinedFont(control)) {
            SetPropA(control, kFontProperty, underlined);
            SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(underlined), FALSE);
        }
    }

    // The procedure to pass messages on to is stored before the link takes over, and only
    // when it is not the link's own (a second call must not make the link call itself).
    auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(control, GWLP_WNDPROC));
    if (current != &HyperlinkProcedure) {
        SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(current));
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HyperlinkProcedure));
    }
}
