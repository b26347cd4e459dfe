#include "ui/dialog_base_win32.h"

#include "ui/window_binding_win32.h"

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
    using Binding = WindowBinding<DialogBase, &DialogBase::window_, DWLP_USER>;
    if (message == WM_INITDIALOG) {
        Binding::Bind(window, created);
        if (created != nullptr) {
            created->OnInit();
            created->UpdateControls();
        }
        return TRUE;
    }
    DialogBase* object = Binding::Find(window);
    const INT_PTR result =
        object != nullptr ? object->HandleMessage(message, wParam, lParam) : FALSE;
    // The binding ends here even when an override kept WM_DESTROY from the standard dispatch.
    if (message == WM_DESTROY) Binding::Release(window);
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
