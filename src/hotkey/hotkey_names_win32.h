// A hot key's name as the user sees it, e.g. "Ctrl+Shift+F5", from the keyboard layout.
#pragma once

#include "hotkey/hotkey_code.h"

constexpr int kHotKeyNameSize = 260;

// The modifiers in the order Ctrl, Alt, Shift, then the key's name (nothing when the layout
// has none).
void FormatHotKeyName(HotKeyCode code, char (&name)[kHotKeyNameSize]);
