// The main window's look: the bold fonts of its captions and total, the blues of its caption
// bars and boxes, and the light menu bar.
#pragma once

#include <windows.h>

#include "base/gdi_object_win32.h"

class MainWindowLook {
  public:
    MainWindowLook();

    // Puts the caption and total fonts on their controls.
    void ApplyFonts(HWND window) const;
    // Gives the menu bar its light blue, where the system has SetMenuInfo.
    void PaintMenuBar(HWND window);
    // WM_CTLCOLORSTATIC: sets the control's colours in dc and returns its brush; null for the
    // controls that keep the system's colours.
    HBRUSH ColourStatic(int controlId, HDC dc) const;

  private:
    GdiObject<HFONT> captionFont_;
    GdiObject<HFONT> labelFont_;
    GdiObject<HBRUSH> darkBlueBrush_;
    GdiObject<HBRUSH> midBlueBrush_;
    GdiObject<HBRUSH> menuBarBrush_;
};
