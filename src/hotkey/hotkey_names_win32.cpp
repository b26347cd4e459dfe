#include "hotkey/hotkey_names_win32.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

void FormatHotKeyName(HotKeyCode code, char (&name)[kHotKeyNameSize]) {
    std::snprintf(name, sizeof name, "%s", HotKeyNamePrefix(code).c_str());
    const int used = static_cast<int>(std::strlen(name));
    // The same key the registration uses. The extended-key bit is never set, so keys that
    // share a scan code with the keypad get the keypad key's name.
    const UINT virtualKey = SplitHotKeyCode(code).virtualKey;
    const UINT scanCode = MapVirtualKeyA(virtualKey, 0);
    const LONG keyData = static_cast<LONG>((scanCode << 16) | virtualKey);
    if (GetKeyNameTextA(keyData, name + used, kHotKeyNameSize - used) <= 0) name[used] = '\0';
}
