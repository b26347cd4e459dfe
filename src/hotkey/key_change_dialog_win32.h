// "Press Key": waits for one key or key combination and hands it back as a hot-key code.
#pragma once

#include "hotkey/hotkey_code.h"
#include "ui/dialog_base_win32.h"

class KeyChangeDialog : public ModelessDialog {
  public:
    // result is written only when a key is accepted; the caller sets it to 0 before.
    explicit KeyChangeDialog(HotKeyCode& result) : result_(result) {}

    bool OnKeyDown(UINT code) override;

    static LPCSTR Template() { return "LKeyChangeDlg"; }

  private:
    HotKeyCode& result_;
};
