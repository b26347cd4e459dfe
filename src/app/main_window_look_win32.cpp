#include "app/main_window_look_win32.h"

#include <initializer_list>

#include "resource_ids.h"

namespace {

const COLORREF kDarkBlue = RGB(58, 94, 128);
const COLORREF kMidBlue = RGB(127, 157, 185);
const COLORREF kMenuBarColour = RGB(236, 241, 247);

HFONT CreateBoldFont(int height) {
    return CreateFontA(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, nullptr);
}

}  // namespace

MainWindowLook::MainWindowLook()
    : captionFont_(CreateBoldFont(16)),
      labelFont_(CreateBoldFont(15)),
      darkBlueBrush_(CreateSolidBrush(kDarkBlue)),
      midBlueBrush_(CreateSolidBrush(kMidBlue)) {}

void MainWindowLook::ApplyFonts(HWND window) const {
    for (int id : {IDC_PRICING_CAPTION, IDC_COUNTED_CAPTION}) {
        SendDlgItemMessageA(window, id, WM_SETFONT, reinterpret_cast<WPARAM>(captionFont_.Get()),
                            TRUE);
    }
    for (int id : {IDC_TOTAL_LABEL, IDC_TOTAL, IDC_EQUALS_TOTAL}) {
        SendDlgItemMessageA(window, id, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_.Get()),
                            TRUE);
    }
}

void MainWindowLook::PaintMenuBar(HWND window) {
    // SetMenuInfo came with Windows 98 and 2000: looked up, so that older systems still start.
    using SetMenuInfoFunction = BOOL(WINAPI*)(HMENU, LPCMENUINFO);
    HMODULE user32 = GetModuleHandleA("user32.dll");
    const auto setMenuInfo =
        user32 == nullptr ? nullptr
                          : reinterpret_cast<SetMenuInfoFunction>(
                                reinterpret_cast<void*>(GetProcAddress(user32, "SetMenuInfo")));
    if (setMenuInfo == nullptr) return;
    menuBarBrush_.Reset(CreateSolidBrush(kMenuBarColour));
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND;
    info.hbrBack = menuBarBrush_.Get();
    setMenuInfo(GetMenu(window), &info);
    DrawMenuBar(window);
}

HBRUSH MainWindowLook::ColourStatic(int controlId, HDC dc) const {
    switch (controlId) {
        case IDC_PRICING_CAPTION:
        case IDC_COUNTED_CAPTION:
            SetBkColor(dc, kDarkBlue);
            SetTextColor(dc, RGB(255, 255, 255));
            return darkBlueBrush_.Get();
        case IDC_COUNTED_BOX:
        case IDC_PRICING_BOX:
            SetBkColor(dc, kDarkBlue);
            return darkBlueBrush_.Get();
        case IDC_CHAR_ROW_CAPTION:
        case IDC_WORD_ROW_CAPTION:
        case IDC_LINE_ROW_CAPTION:
            SetBkColor(dc, kMidBlue);
            return midBlueBrush_.Get();
        case IDC_CHAR_CAPTION_BOX:
        case IDC_WORD_CAPTION_BOX:
        case IDC_LINE_CAPTION_BOX:
            SetBkColor(dc, kDarkBlue);
            return midBlueBrush_.Get();
        default:
            return nullptr;
    }
}
