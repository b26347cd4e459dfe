// The "Settings" sheet and its one page: the hot key, what a press does, start at log-on and
// the invoice file's separator.
#pragma once

#include <windows.h>

#include "hotkey/hotkey_code.h"
#include "ui/property_page_win32.h"

class ProgramHotKey;

class SettingsPage : public PropertyPage {
  public:
    // hotKey (may be null) is the program's registered key, taken off while a new one is
    // chosen.
    explicit SettingsPage(ProgramHotKey* hotKey) : hotKey_(hotKey) {}

    void OnInit() override;
    bool OnOk() override;
    void OnHelp() override;
    void UpdateControls() override;
    void OnCommand(WPARAM wParam, WORD notifyCode) override;

    // "Change Key": runs "Press Key" and stores the chosen key at once.
    virtual void ChangeKey();

  private:
    void ShowHotKeyName(unsigned code);
    bool Checked(int controlId) const;
    void EnableControl(int controlId, bool enable);

    ProgramHotKey* hotKey_;
};

// The hot key the user chose ("HotKeyValue"), F8 when none is stored.
HotKeyCode StoredHotKey();

// Shows the sheet modally over owner. True when it was closed with OK.
bool SettingsSheet(HWND owner, ProgramHotKey* hotKey);
