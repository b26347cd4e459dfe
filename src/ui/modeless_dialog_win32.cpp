#include "ui/dialog_base_win32.h"

namespace {

// Modifier bits of a hot-key code.
constexpr UINT kAltBit = 0x10000;
constexpr UINT kControlBit = 0x20000;
constexpr UINT kShiftBit = 0x40000;

// GetKeyState sign-extends the key's state byte: a pressed key sets the sign bit of the 16-bit
// result (and with it bit 0x100).
bool KeyIsDown(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }

constexpr LPARAM kPreviousStateBit = LPARAM(1) << 30;

}  // namespace

UINT CurrentModifierBits(UINT virtualKey) {
    UINT code = virtualKey;
    if (KeyIsDown(VK_CONTROL)) code |= kControlBit;
    if (KeyIsDown(VK_MENU)) code |= kAltBit;
    if (KeyIsDown(VK_SHIFT)) code |= kShiftBit;
    return code;
}

void ModelessDialog::EndWindow(INT_PTR) {
    HWND window = window_;
    if (window == nullptr) return;
    // The owner comes back first, so that the system activates it when this window goes.
    HWND owner = GetWindow(window, GW_OWNER);
    if (owner == nullptr) owner = GetParent(window);
    if (owner != nullptr) EnableWindow(owner, TRUE);
    DestroyWindow(window);
}

bool ModelessDialog::PreTranslate(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    bool consumed = false;
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            UINT code = CurrentModifierBits(static_cast<UINT>(wParam));
            consumed = (lParam & kPreviousStateBit) != 0 ? OnKeyRepeat(code) : OnKeyDown(code);
            break;
        }
        case WM_KEYUP:
        case WM_SYSKEYUP:
            consumed = OnKeyUp(static_cast<UINT>(wParam));
            break;
        default:
            return false;
    }
    if (consumed) UpdateControls();
    return consumed;
}

bool RunModelessLoop(ModelessDialog& dialog, LPCSTR templateName, HWND owner,
                     void (*afterCreate)(void* context), void* context) {
    if (dialog.Window() != nullptr) return false;
    HWND window =
        CreateDialogParamA(ProgramInstance(), templateName, owner, &DialogBase::DialogProcedure,
                           reinterpret_cast<LPARAM>(&dialog));
    if (window == nullptr) return false;
    if (afterCreate != nullptr) afterCreate(context);
    if (owner != nullptr) EnableWindow(owner, FALSE);

    while (IsWindow(window)) {
        MSG message;
        if (GetMessageA(&message, nullptr, 0, 0) != 1) {
            // The quit message (or a failure) ends this loop only; it is not passed on.
            DestroyWindow(window);
            break;
        }
        if (dialog.PreTranslate(message.hwnd, message.message, message.wParam, message.lParam)) {
            continue;
        }
        if (!IsDialogMessageA(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

    if (owner != nullptr) EnableWindow(owner, TRUE);
    return true;
}
