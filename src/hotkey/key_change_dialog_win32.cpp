#include "hotkey/key_change_dialog_win32.h"

bool KeyChangeDialog::OnKeyDown(UINT code) {
    switch (ChooseHotKey(code)) {
        case KeyChoice::IgnoreAndConsume:
            return true;
        case KeyChoice::IgnoreAndPassOn:
            return false;
        case KeyChoice::Accept:
            break;
    }
    // Any other key, Tab, F1 and Alt+F4 included, is the choice. Its window is gone, so the
    // key is consumed here: it must not reach the window that has the focus next.
    result_ = code;
    EndWindow(IDCANCEL);
    return true;
}
