// Black-box questions about global hot keys, and key presses as a user makes them.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <vector>

// Whether some window already holds the combination: a second registration is refused as
// taken. A registration that succeeds is given back at once.
inline bool HotKeyTaken(unsigned modifiers, unsigned virtualKey) {
    constexpr int kProbeId = 0x3FFF;
    if (RegisterHotKey(nullptr, kProbeId, modifiers, virtualKey)) {
        UnregisterHotKey(nullptr, kProbeId);
        return false;
    }
    return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED;
}

// Presses the keys in order and releases them in reverse, through the system's input queue.
inline void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}
