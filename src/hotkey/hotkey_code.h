// The hot key as one 32-bit code: the virtual key in the low bits, Alt, Ctrl and Shift in bits
// 16-18. Platform-free: how a code is registered, named and chosen.
#pragma once

#include <cstdint>
#include <string>

using HotKeyCode = std::uint32_t;

constexpr HotKeyCode kHotKeyAlt = 0x10000;
constexpr HotKeyCode kHotKeyControl = 0x20000;
constexpr HotKeyCode kHotKeyShift = 0x40000;
// F8 with no modifier.
constexpr HotKeyCode kDefaultHotKey = 119;

// What the system's hot-key registration takes. Only the defined bits count: a damaged stored
// value never asks for the Windows-logo modifier or a key code above 255.
struct HotKeyParts {
    unsigned modifiers;  // Alt 1, Ctrl 2, Shift 4
    unsigned virtualKey;
};
HotKeyParts SplitHotKeyCode(HotKeyCode code);

// The modifier part of a key's name, always in the order "Ctrl+", "Alt+", "Shift+".
std::string HotKeyNamePrefix(HotKeyCode code);

// What the key-choosing dialog does with a first key press.
enum class KeyChoice {
    Accept,            // the code becomes the new hot key and the dialog ends
    IgnoreAndConsume,  // Enter: nothing happens and nobody else sees the key
    IgnoreAndPassOn,   // a modifier alone, or Esc (which the dialog manager makes Cancel)
};
KeyChoice ChooseHotKey(HotKeyCode code);
