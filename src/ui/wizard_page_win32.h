// Wizard pages: a page offers its own set of wizard buttons while it is current, and a timed
// page starts its work on the first timer tick after it shows, with a flag that tells the
// work when the page has been left.
#pragma once

#include "ui/property_page_win32.h"

// The wizard buttons a page offers while current: PSWIZB_BACK 1, PSWIZB_NEXT 2,
// PSWIZB_FINISH 4, combined.
using WizardPageFlags = DWORD;

class WizardPage : public PropertyPage {
  public:
    explicit WizardPage(WizardPageFlags flags = PSWIZB_BACK | PSWIZB_NEXT) : flags_(flags) {}

    // Presses the sheet's Cancel button (posted), which asks every page through OnCancel.
    void EndWindow(INT_PTR result) override;
    // Wizard dispatch: Next and Finish ask OnOk (false keeps the page: -1); PSN_SETACTIVE
    // posts the page's buttons, then OnPageActivate and UpdateControls; PSN_KILLACTIVE calls
    // OnPageDeactivate; Back and everything else go to the property-page dispatch.
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    virtual void OnPageActivate() {}
    virtual void OnPageDeactivate() {}

    WizardPageFlags Flags() const { return flags_; }
    void SetFlags(WizardPageFlags flags) { flags_ = flags; }

  protected:
    WizardPageFlags flags_;
};

// Timer 100 of the page window starts the deferred work.
constexpr UINT_PTR kDeferredWorkTimer = 100;

class TimedWizardPage : public WizardPage {
  public:
    using WizardPage::WizardPage;

    // Clears the stop flag and starts timer 100 with no delay.
    void OnPageActivate() final;
    // Sets the stop flag: work still running (or about to start) is to stop.
    void OnPageDeactivate() final;
    // Timer dispatch: any WM_TIMER kills timer 100, and timer 100 runs OnDeferredWork; then
    // the wizard dispatch, for every message.
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Runs once per activation, on the first timer tick after the page became current. Long
    // work watches StopRequested (through the page message pump) and returns when it is set.
    virtual void OnDeferredWork() {}

    bool StopRequested() const { return stop_; }

  protected:
    bool stop_ = false;
};

// Runs the pages as a modal wizard97 sheet over parent (or none): the program's icon, an empty
// caption and a plain header (a one-pixel picture of the window colour under the pages' header
// texts). Returns when the sheet has closed.
void RunWizardSheet(const PropertySheetPages& pages, HWND parent);

// Shows the page's wizard with these buttons (PSWIZB_NEXT, PSWIZB_DISABLEDFINISH, ...).
void ShowWizardButtons(WizardPage& page, WizardPageFlags buttons);
// Presses a button of the page's wizard (PSBTN_NEXT, PSBTN_CANCEL, ...), once the messages
// before it have been handled.
void PressWizardButton(WizardPage& page, int button);
// Presses Next when the page offers it, otherwise Finish.
void PressNextOrFinish(WizardPage& page);
