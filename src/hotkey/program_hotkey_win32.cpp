#include "hotkey/program_hotkey_win32.h"

namespace {

constexpr int kHotKeyId = 0;

bool RegisterCode(HWND window, HotKeyCode code) {
    const HotKeyParts parts = SplitHotKeyCode(code);
    return RegisterHotKey(window, kHotKeyId, parts.modifiers, parts.virtualKey) != FALSE;
}

}  // namespace

void ProgramHotKey::Register(HWND window, HotKeyCode code) {
    window_ = window;
    code_ = code;
    registered_ = RegisterCode(window_, code_);
}

void ProgramHotKey::Unregister() {
    if (window_ != nullptr) UnregisterHotKey(window_, kHotKeyId);
    registered_ = false;
}

void ProgramHotKey::Suspend() {
    suspended_ = registered_;
    if (registered_) Unregister();
}

void ProgramHotKey::Resume() {
    if (suspended_) registered_ = RegisterCode(window_, code_);
    suspended_ = false;
}
