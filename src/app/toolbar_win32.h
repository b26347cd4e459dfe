// The main window's toolbar (control 89) and its shaded background, the header: a bitmap as
// large as the toolbar, rebuilt for each size and colour scheme and copied under the buttons.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "base/gdi_object_win32.h"

struct ToolbarButtonRecord {
    std::uint16_t command;
    // -n names bitmap resource n; 0 for a separator.
    std::int16_t image;
    const char* label;
    const char* tip;
    std::uint8_t separator;
};

class ToolbarPainter {
  public:
    ToolbarPainter() = default;
    ~ToolbarPainter();
    ToolbarPainter(const ToolbarPainter&) = delete;
    ToolbarPainter& operator=(const ToolbarPainter&) = delete;

    // Creates the toolbar as a child of parent with the buttons, and its memory DC. Once.
    void CreateToolbar(HWND parent, const ToolbarButtonRecord* records, int count);
    // Lets the toolbar fit its parent, then rebuilds the header.
    void SizeToolbar();
    // Rebuilds the header bitmap for the toolbar's size and the system colours.
    void PaintHeader();
    // NM_CUSTOMDRAW from the toolbar: the header goes under the buttons. Always CDRF_DODEFAULT.
    LRESULT PaintBackground(const NMCUSTOMDRAW& draw) const;

    HWND Window() const { return toolbar_; }

  private:
    HWND toolbar_ = nullptr;
    HDC memory_ = nullptr;
    // Selected into memory_ until the destructor puts the original bitmap back.
    GdiObject<HBITMAP> header_;
    HGDIOBJ originalBitmap_ = nullptr;
};
