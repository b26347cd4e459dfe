#include "hotkey/hotkey_code.h"

namespace {

constexpr unsigned kEnter = 13;
constexpr unsigned kShift = 16;
constexpr unsigned kControl = 17;
constexpr unsigned kAlt = 18;
constexpr unsigned kEscape = 27;

}  // namespace

HotKeyParts SplitHotKeyCode(HotKeyCode code) { return {(code >> 16) & 7u, code & 0xFFu}; }

std::string HotKeyNamePrefix(HotKeyCode code) {
    std::string prefix;
    if (code & kHotKeyControl) prefix += "Ctrl+";
    if (code & kHotKeyAlt) prefix += "Alt+";
    if (code & kHotKeyShift) prefix += "Shift+";
    return prefix;
}

KeyChoice ChooseHotKey(HotKeyCode code) {
    switch (code & 0xFFFFu) {
        case kEnter:
            return KeyChoice::IgnoreAndConsume;
        case kShift:
        case kControl:
        case kAlt:
        case kEscape:
            return KeyChoice::IgnoreAndPassOn;
        default:
            return KeyChoice::Accept;
    }
}
