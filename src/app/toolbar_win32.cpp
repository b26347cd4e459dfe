#include "app/toolbar_win32.h"

#include "app/header_colours.h"
#include "ui/dialog_base_win32.h"

namespace {

constexpr int kToolbarId = 89;
constexpr int kButtonWidth = 22;
constexpr int kButtonHeight = 24;
// The large standard images are the toolbar's base set; the buttons use none of them.
constexpr int kStandardImages = 15;

void AddTip(HWND toolbar, const ToolbarButtonRecord& record) {
    HWND tips = reinterpret_cast<HWND>(SendMessageA(toolbar, TB_GETTOOLTIPS, 0, 0));
    if (tips == nullptr) return;
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = toolbar;
    tool.uId = record.command;
    tool.lpszText = const_cast<char*>(record.tip);
    SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace

ToolbarPainter::~ToolbarPainter() {
    if (memory_ != nullptr) {
        if (originalBitmap_ != nullptr) SelectObject(memory_, originalBitmap_);
        DeleteDC(memory_);
    }
}

void ToolbarPainter::CreateToolbar(HWND parent, const ToolbarButtonRecord* records, int count) {
    toolbar_ = CreateToolbarEx(
        parent, WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER, kToolbarId,
        kStandardImages, HINST_COMMCTRL, IDB_STD_LARGE_COLOR, nullptr, 0, kButtonWidth,
        kButtonHeight, kButtonWidth, kButtonHeight, sizeof(TBBUTTON));
    if (toolbar_ == nullptr) return;

    TBMETRICS metrics{};
    metrics.cbSize = sizeof metrics;
    metrics.dwMask = TBMF_BARPAD;
    metrics.cxBarPad = 0;
    metrics.cyBarPad = 2;
    SendMessageA(toolbar_, TB_SETMETRICS, 0, reinterpret_cast<LPARAM>(&metrics));
    SendMessageA(toolbar_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);

    for (int i = 0; i < count; ++i) {
        const ToolbarButtonRecord& record = records[i];
        TBBUTTON button{};
        button.idCommand = record.command;
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = record.separator == 1 ? BTNS_SEP : BTNS_BUTTON;
        button.iString = reinterpret_cast<INT_PTR>(record.label);
        if (record.image < 0) {
            TBADDBITMAP bitmap{ProgramInstance(), static_cast<UINT_PTR>(-record.image)};
            button.iBitmap = static_cast<int>(
                SendMessageA(toolbar_, TB_ADDBITMAP, 1, reinterpret_cast<LPARAM>(&bitmap)));
        }
        if (record.tip != nullptr) AddTip(toolbar_, record);
        SendMessageA(toolbar_, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    }

    HDC screen = GetDC(toolbar_);
    memory_ = CreateCompatibleDC(screen);
    ReleaseDC(toolbar_, screen);
}

void ToolbarPainter::SizeToolbar() {
    if (toolbar_ == nullptr) return;
    SendMessageA(toolbar_, TB_AUTOSIZE, 0, 0);
    PaintHeader();
}

void ToolbarPainter::PaintHeader() {
    if (toolbar_ == nullptr || memory_ == nullptr) return;
    RECT client{};
    GetClientRect(toolbar_, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;

    HDC screen = GetDC(toolbar_);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(toolbar_, screen);
    HGDIOBJ previous = SelectObject(memory_, bitmap);
    if (originalBitmap_ == nullptr) originalBitmap_ = previous;
    header_.Reset(bitmap);

    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const std::vector<Rgb> rows =
        HeaderRowColours({GetRValue(face), GetGValue(face), GetBValue(face)}, height);
    for (int y = 0; y < height; ++y) {
        const Rgb& colour = rows[static_cast<size_t>(y)];
        const GdiObject<HBRUSH> brush(CreateSolidBrush(RGB(colour.red, colour.green, colour.blue)));
        const RECT row{0, y, width, y + 1};
        FillRect(memory_, &row, brush.Get());
    }
}

LRESULT ToolbarPainter::PaintBackground(const NMCUSTOMDRAW& draw) const {
    if (draw.dwDrawStage == CDDS_PREPAINT && memory_ != nullptr) {
        BitBlt(draw.hdc, 0, 0, draw.rc.right - draw.rc.left, draw.rc.bottom - draw.rc.top, memory_,
               0, 0, SRCCOPY);
    }
    return CDRF_DODEFAULT;
}
