#include "hotkey/foreground_copy_win32.h"

#include <cstring>

namespace {

// Repeat count 1, no scan code. A key-down with the transition bit set would be taken for a
// release by TranslateMessage, and an edit control would never see the Ctrl+C character.
constexpr LPARAM kKeyDownFlags = 0x00000001;
constexpr LPARAM kKeyUpFlags = static_cast<LPARAM>(0xC0000001u);
constexpr UINT kAnswerBoundMs = 100;
constexpr DWORD kCopyWaitMs = 250;

void PostKeyStroke(HWND target, WPARAM key) {
    PostMessageA(target, WM_KEYDOWN, key, kKeyDownFlags);
    PostMessageA(target, WM_KEYUP, key, kKeyUpFlags);
}

// A program that is busy now would take the keys after the keyboard state is restored: a
// plain "c" would then replace the user's selection.
bool Answers(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerBoundMs,
                               &result) != 0;
}

}  // namespace

bool CopyForegroundSelection(HWND ownWindow, bool selectAllFirst) {
    HWND foreground = GetForegroundWindow();
    if (foreground == nullptr || foreground == ownWindow) return false;
    const DWORD foregroundThread = GetWindowThreadProcessId(foreground, nullptr);
    const DWORD ownThread = GetCurrentThreadId();
    if (foregroundThread == 0 || foregroundThread == ownThread) return false;
    if (!Answers(foreground)) return false;
    if (!AttachThreadInput(foregroundThread, ownThread, TRUE)) return false;

    HWND target = GetFocus();
    if (target == nullptr) target = foreground;

    BYTE saved[256] = {};
    GetKeyboardState(saved);
    BYTE copying[256];
    std::memcpy(copying, saved, sizeof copying);
    copying[VK_CONTROL] |= 0x80;
    copying[VK_SHIFT] = 0;

    if (selectAllFirst) {
        SetKeyboardState(copying);
        PostKeyStroke(target, 'A');
    }
    SetKeyboardState(copying);
    PostKeyStroke(target, 'C');
    Sleep(kCopyWaitMs);

    // Otherwise Ctrl stays down for this thread until the user presses it: the next key chosen
    // would gain Ctrl, and a "v" typed into a field would paste.
    SetKeyboardState(saved);
    AttachThreadInput(foregroundThread, ownThread, FALSE);
    return true;
}
