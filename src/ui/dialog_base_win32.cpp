#include "ui/dialog_base_win32.h"

namespace {

constexpr int kOkId = IDOK;          // 1
constexpr int kCancelId = IDCANCEL;  // 2
constexpr int kHelpId = IDHELP;      // 9

HINSTANCE programInstance = nullptr;

}  // namespace

void SetProgramInstance(HINSTANCE instance) { programInstance = instance; }

HINSTANCE ProgramInstance() {
    return programInstance != nullptr ? programInstance : GetModuleHandleA(nullptr);
}

DialogBase::~DialogBase() = default;

void DialogBase::EndWindow(INT_PTR result) {
    HWND window = window_;
    if (window == nullptr) return;
    OnDestroy();
    // Forgotten before EndDialog, so the WM_DESTROY that follows is not forwarded and
    // OnDestroy runs once.
    window_ = nullptr;
    EndDialog(window, result);
}

INT_PTR DialogBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return StandardDispatch(message, wParam, lParam);
}

INT_PTR DialogBase::StandardDispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    switch (message) {
        case WM_DESTROY:
            OnDestroy();
            window_ = nullptr;
            return 0;
        case WM_HELP:
            OnHelp();
            return 1;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case kOkId:
                    if (OnOk()) EndWindow(1);
                    return 1;
                case kCancelId:
                    if (OnCancel()) EndWindow(2);
                    return 1;
                case kHelpId:
                    OnHelp();
                    return 1;
                default:
                    OnCommand(wParam, HIWORD(wParam));
                    UpdateControls();
                    return 1;
            }
        default:
            return 0;
    }
}

void DialogBase::SetMessageResult(LONG_PTR result) {
    if (window_ != nullptr) SetWindowLongPtrA(window_, DWLP_MSGRESULT, result);
}

INT_PTR DialogBase::Route(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                          DialogBase* created) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(created));
        if (created != nullptr) {
            created->window_ = window;
            created->OnInit();
            created->UpdateControls();
        }
        return TRUE;
    }
    auto* object = reinterpret_cast<DialogBase*>(GetWindowLongPtrA(window, DWLP_USER));
    const bool bound = object != nullptr && object->window_ == window;
    INT_PTR result = bound ? object->HandleMessage(message, wParam, lParam) : FALSE;
    if (message == WM_DESTROY) {
        // The binding ends here even when an override kept WM_DESTROY from the standard
        // dispatch: the messages still to come (children's notifications, WM_NCDESTROY) must
        // not reach an object that may be gone soon after.
        if (bound && object->window_ == window) object->window_ = nullptr;
        SetWindowLongPtrA(window, DWLP_USER, 0);
    }
    return result;
}

INT_PTR CALLBACK DialogBase::DialogProcedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    DialogBase* created =
        message == WM_INITDIALOG ? reinterpret_cast<DialogBase*>(lParam) : nullptr;
    return Route(window, message, wParam, lParam, created);
}

bool RunModal(DialogBase& dialog, HWND owner, LPCSTR templateName) {
    if (dialog.Window() != nullptr) return false;
    INT_PTR result =
        DialogBoxParamA(ProgramInstance(), templateName, owner, &DialogBase::DialogProcedure,
                        reinterpret_cast<LPARAM>(&dialog));
    return result == 1;
}
