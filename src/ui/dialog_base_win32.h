// The object family behind every window of the program. Each window is a dialog made from a
// template; its dialog procedure finds the object in the window's DWLP_USER slot and forwards
// to the virtual operations below. The object lives on the stack of the code that shows the
// window and outlives it. Property and wizard pages are in ui/property_page_win32.h and
// ui/wizard_page_win32.h.
#pragma once

#include <windows.h>

class DialogBase {
  public:
    DialogBase() = default;
    virtual ~DialogBase();
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;

    // Once, while the window is being created, right after the object is bound to it.
    virtual void OnInit() {}
    // On WM_DESTROY; for a modal dialog just before it ends.
    virtual void OnDestroy() {}
    // OK (id 1), property page apply, wizard Next or Finish. True lets the window close.
    virtual bool OnOk() { return true; }
    // Cancel (id 2, also Esc and the close box), or the sheet asking to cancel. True allows it.
    virtual bool OnCancel() { return true; }
    // WM_HELP (F1), the Help command (id 9), the property sheet's Help button.
    virtual void OnHelp() {}
    // After OnInit, after every OnCommand, after a handled key, when a wizard page shows.
    virtual void UpdateControls() {}
    // Every other WM_COMMAND; the control id is LOWORD(wParam).
    virtual void OnCommand(WPARAM wParam, WORD notifyCode) {
        (void)wParam;
        (void)notifyCode;
    }
    // Closes the window. The default ends a modal dialog: OnDestroy, forget the window,
    // EndDialog with the result.
    virtual void EndWindow(INT_PTR result);
    // Every message after creation; the default is the standard dispatch (StandardDispatch).
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Null while the object has no window and again once the window is being destroyed.
    HWND Window() const { return window_; }

    // The dialog procedure of modal and modeless dialogs: binds the creation parameter at
    // WM_INITDIALOG and then forwards while the binding holds.
    static INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);

  protected:
    // WM_DESTROY, WM_HELP and WM_COMMAND routed to the slots above; 0 for anything else.
    INT_PTR StandardDispatch(UINT message, WPARAM wParam, LPARAM lParam);
    // The value the system hands back for this message (DWLP_MSGRESULT), e.g. for WM_NOTIFY.
    void SetMessageResult(LONG_PTR result);

    // What the dialog procedures share. At WM_INITDIALOG: store `created` in DWLP_USER, give
    // it the window, OnInit, UpdateControls. Afterwards: forward to HandleMessage while the
    // stored object still holds this window. The binding ends at WM_DESTROY.
    static INT_PTR Route(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                         DialogBase* created);

    HWND window_ = nullptr;
};

// A dialog with the program's own message loop (RunModelessLoop) and a keyboard filter that
// sees every key message of the thread before the dialog manager does.
class ModelessDialog : public DialogBase {
  public:
    // Enables the parent or owner, then destroys the window.
    void EndWindow(INT_PTR result) override;

    // Key codes carry the modifier bits of CurrentModifierBits. Each returns true when it
    // consumed the key; the message then goes nowhere else.
    virtual bool OnKeyDown(UINT code) {
        (void)code;
        return false;
    }
    virtual bool OnKeyRepeat(UINT code) {
        (void)code;
        return false;
    }
    virtual bool OnKeyUp(UINT virtualKey) {
        (void)virtualKey;
        return false;
    }
    // Offered every message of the loop; true means consumed. The default is the keyboard
    // filter: key downs (repeats when lParam bit 30 is set) and key ups go to the slots above,
    // and a consumed key is followed by UpdateControls.
    virtual bool PreTranslate(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

// The module that holds the program's resources (kept by the entry point; defaults to the
// module of the running .exe).
void SetProgramInstance(HINSTANCE instance);
HINSTANCE ProgramInstance();

// Shows the template as a modal dialog box over owner. True exactly when it ended with 1.
// An object that already has a window is refused (false).
bool RunModal(DialogBase& dialog, HWND owner, LPCSTR templateName);

// Creates the template as a modeless dialog and runs the thread's messages until that window
// is gone; afterCreate (may be null) runs between creation and the loop. The owner is
// disabled while the loop runs. A quit message destroys the window and ends only this loop
// (it is not passed on). False when nothing was shown: the object already has a window, or
// the template could not be created.
bool RunModelessLoop(ModelessDialog& dialog, LPCSTR templateName, HWND owner,
                     void (*afterCreate)(void* context) = nullptr, void* context = nullptr);

// The key code with the hot-key modifier bits of the keys held now: Alt 0x10000,
// Ctrl 0x20000, Shift 0x40000.
UINT CurrentModifierBits(UINT virtualKey);

// Moves the focus off the control if it has it (to the previous tab stop), then disables it.
void DisableControl(DialogBase& dialog, HWND control);
// MoveWindow of a control of the dialog, repainting.
void MoveControl(DialogBase& dialog, int controlId, int x, int y, int width, int height);
// A height in the dialog's units converted to pixels (MapDialogRect).
int DialogUnitsToPixels(DialogBase& dialog, int height);
