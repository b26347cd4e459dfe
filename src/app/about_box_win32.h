// The about box.
#pragma once

#include <windows.h>

#include "app/picture_panel_win32.h"
#include "ui/dialog_base_win32.h"

// The about box "LAbout": the panel, "Go to Web Page..." and OK.
class AboutBox : public DialogBase {
  public:
    void OnInit() override;
    void OnCommand(WPARAM wParam, WORD notifyCode) override;
    static LPCSTR Template() { return "LAbout"; }

  private:
    PicturePanel panel_;
};

void ShowAboutBox(HWND owner);
