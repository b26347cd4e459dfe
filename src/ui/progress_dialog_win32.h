// Long work on the user-interface thread: the progress window ("LProgressDialog") with its
// Cancel button, and the message pumps that keep the windows alive between the steps of the
// work and tell it when to stop.
//
// Two kinds of window carry long work:
// - a ProgressDialog: subclass it, put the work in Run, show it with RunWithProgress; the work
//   calls PumpMessages(*this) after every step or wait and returns when it says stop (the
//   user pressed Cancel, Esc or the close box, or the window was destroyed otherwise).
//     class VersionFetch : public ProgressDialog {
//       public:
//         VersionFetch() : ProgressDialog("Checking for Updates") {}
//         bool Run() override {
//             ProgressDialogTransferOwner owner(*this);
//             result = HttpGetToMemory(url, reply, owner);
//             return true;
//         }
//         int result = 0; char reply[kMemoryReplySize];
//     };
//     VersionFetch fetch; RunWithProgress(fetch, mainWindow);
// - a TimedWizardPage (ui/wizard_page_win32.h) whose OnDeferredWork does the work: it calls
//   PumpPageMessages(*this), which also says stop once the page has been left, and reports
//   through SetPageStatusLine and SetPageProgress (controls 100, 101 and 102 of the page).
//
// A pump that takes the quit message posts it again and says stop, so the work ends and the
// quit reaches the loop that owns it.
#pragma once

#include <windows.h>

#include <cstddef>

#include "resource_ids.h"
#include "ui/transfer_owner.h"
#include "ui/wizard_page_win32.h"

// The template's controls (also those of a page that carries work).
constexpr int kProgressTitleLine = IDC_PROGRESS_TITLE;
constexpr int kProgressDetailLine = IDC_PROGRESS_DETAIL;
constexpr int kProgressBar = IDC_PROGRESS_BAR;
inline constexpr char kProgressDialogTemplate[] = "LProgressDialog";

// The object behind a progress window; its own small family, not a DialogBase. The object lives
// on the caller's stack and outlives its window; its address sits in the window's
// GWLP_USERDATA slot.
class ProgressDialog {
  public:
    // The caption is shown in the window's title bar (at most 259 characters are kept).
    explicit ProgressDialog(const char* caption);
    ProgressDialog(const ProgressDialog&) = delete;
    ProgressDialog& operator=(const ProgressDialog&) = delete;

    // The operations in their slot order: Run, then HandleMessage.
    // The work, run by RunWithProgress while the window shows. Its flag is what
    // RunWithProgress returns.
    virtual bool Run() = 0;
    // Every message of the window after creation other than Cancel; the default answers 0.
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual ~ProgressDialog();

    // Null while there is no window, and again as soon as the window is destroyed (by Cancel
    // or otherwise).
    HWND Window() const { return window_; }
    const char* Caption() const { return caption_; }

  private:
    friend INT_PTR CALLBACK ProgressDialogProcedure(HWND, UINT, WPARAM, LPARAM);

    HWND window_ = nullptr;
    char caption_[MAX_PATH] = {};
};

// The dialog procedure of "LProgressDialog": binds the object at WM_INITDIALOG (caption, bar at
// 0); Cancel (id 2: the button, Esc, the close box) destroys the window; WM_DESTROY unbinds.
INT_PTR CALLBACK ProgressDialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Shows "LProgressDialog" for the object, disables the owner (when given) and calls Run. Then
// the owner gets back the enabled state it had before; when that is enabled it is activated
// and given the focus. The window is destroyed if it still exists. Returns Run's flag, or false
// (without calling Run) when the object already has a window or the template cannot be made.
bool RunWithProgress(ProgressDialog& dialog, HWND owner);

// Drains the thread's queue without waiting. True when the work must stop: the progress window
// is gone, or the quit message came (it is posted again). False once the queue is empty.
bool PumpMessages(ProgressDialog& dialog);

// The same for work on a wizard page. True when the work must stop: the page's stop flag is
// set (it has been left; then no message is taken), its window is gone, or the quit message
// came (posted again).
bool PumpPageMessages(TimedWizardPage& page);

// PumpPageMessages for ms milliseconds, waiting for messages between; true as soon as the
// work must stop.
bool PumpPageMessagesFor(TimedWizardPage& page, DWORD ms);

// Sets the page's title line (line 0, control 100) or detail line (line 1, control 101).
void SetPageStatusLine(int line, DialogBase& page, const char* text);
// Sets the page's progress bar (control 102) to the fraction times 100, truncated (0.685 ->
// 68; above 1 shows as full). Does nothing once the page window is gone.
void SetPageProgress(DialogBase& page, double fraction);

// A progress window as the owner: pumps with PumpMessages.
class ProgressDialogTransferOwner : public TransferOwner {
  public:
    explicit ProgressDialogTransferOwner(ProgressDialog& dialog) : dialog_(dialog) {}
    bool Pump() override { return PumpMessages(dialog_); }

  private:
    ProgressDialog& dialog_;
};

// A wizard page as the owner: pumps with PumpPageMessages (stop once the page is left) and
// shows the progress in its bar (SetPageProgress).
class PageTransferOwner : public TransferOwner {
  public:
    explicit PageTransferOwner(TimedWizardPage& page) : page_(page) {}
    bool Pump() override { return PumpPageMessages(page_); }
    void ShowProgress(double fraction) override { SetPageProgress(page_, fraction); }

  private:
    TimedWizardPage& page_;
};
