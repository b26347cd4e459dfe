#include "ui/progress_dialog_win32.h"

#include <commctrl.h>

#include <cstdio>

#include "ui/progress_bar.h"
#include "ui/window_binding_win32.h"

namespace {

enum class Drained { kEmpty, kQuit };

// Takes and handles every queued message of the thread while keepGoing() holds, without
// waiting. A quit message is posted again and ends the draining.
template <class KeepGoing>
Drained DrainQueue(HWND dialogWindow, KeepGoing keepGoing) {
    while (keepGoing()) {
        MSG message;
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return Drained::kEmpty;
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return Drained::kQuit;
        }
        if (dialogWindow == nullptr || !IsDialogMessageA(dialogWindow, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return Drained::kEmpty;
}

}  // namespace

ProgressDialog::ProgressDialog(const char* caption) {
    std::snprintf(caption_, sizeof caption_, "%s", caption != nullptr ? caption : "");
}

ProgressDialog::~ProgressDialog() = default;

INT_PTR ProgressDialog::HandleMessage(UINT, WPARAM, LPARAM) { return 0; }

INT_PTR CALLBACK ProgressDialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    using ProgressBinding = WindowBinding<ProgressDialog, &ProgressDialog::window_, GWLP_USERDATA>;
    if (message == WM_INITDIALOG) {
        auto* created = reinterpret_cast<ProgressDialog*>(lParam);
        ProgressBinding::Bind(window, created);
        if (created != nullptr) {
            SetWindowTextA(window, created->caption_);
            SendDlgItemMessageA(window, kProgressBar, PBM_SETPOS, 0, 0);
        }
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        ProgressBinding::Release(window);
        DestroyWindow(window);
        return TRUE;
    }
    ProgressDialog* object = ProgressBinding::Find(window);
    const INT_PTR result =
        object != nullptr ? object->HandleMessage(message, wParam, lParam) : FALSE;
    // However the window goes (Cancel, its owner's destruction, DestroyWindow by anyone), the
    // object lets go of it, so the work's next pump reports stop.
    if (message == WM_DESTROY) ProgressBinding::Release(window);
    return result;
}

bool RunWithProgress(ProgressDialog& dialog, HWND owner) {
    if (dialog.Window() != nullptr) return false;
    HWND window = CreateDialogParamA(ProgramInstance(), kProgressDialogTemplate, owner,
                                     &ProgressDialogProcedure, reinterpret_cast<LPARAM>(&dialog));
    if (window == nullptr) return false;
    // EnableWindow answers whether the window was disabled before: an owner disabled by a
    // window of ours that is still open must stay disabled afterwards.
    const bool ownerWasDisabled = owner != nullptr && EnableWindow(owner, FALSE) != FALSE;

    const bool result = dialog.Run();

    if (owner != nullptr && !ownerWasDisabled) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
        SetFocus(owner);
    }
    // Cleared when the window went during the work, so no other window can be hit here.
    if (dialog.Window() != nullptr) DestroyWindow(dialog.Window());
    return result;
}

bool PumpMessages(ProgressDialog& dialog) {
    auto windowExists = [&dialog] {
        return dialog.Window() != nullptr && IsWindow(dialog.Window());
    };
    if (DrainQueue(dialog.Window(), windowExists) == Drained::kQuit) return true;
    return !windowExists();
}

bool PumpPageMessages(TimedWizardPage& page) {
    auto pageCurrent = [&page] {
        return !page.StopRequested() && page.Window() != nullptr && IsWindow(page.Window());
    };
    if (DrainQueue(page.Window(), pageCurrent) == Drained::kQuit) return true;
    return !pageCurrent();
}

bool PumpPageMessagesFor(TimedWizardPage& page, DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        if (PumpPageMessages(page)) return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    return false;
}

void SetPageStatusLine(int line, DialogBase& page, const char* text) {
    if (page.Window() == nullptr || (line != 0 && line != 1)) return;
    SetDlgItemTextA(page.Window(), kProgressTitleLine + line, text != nullptr ? text : "");
}

void SetPageProgress(DialogBase& page, double fraction) {
    if (page.Window() == nullptr || !IsWindow(page.Window())) return;
    SendDlgItemMessageA(page.Window(), kProgressBar, PBM_SETPOS,
                        static_cast<WPARAM>(ProgressBarPosition(fraction)), 0);
}
