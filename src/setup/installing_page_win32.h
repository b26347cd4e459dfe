// The wizard page that installs the program: it runs the extraction (payload_extraction_win32)
// and then moves the wizard on, showing progress meanwhile.
#pragma once

#include "base/paths.h"
#include "ui/wizard_page_win32.h"

class InstallingPage : public TimedWizardPage {
  public:
    bool OnCancel() override { return true; }
    // Extracts; then Next (Finish when it is the only page), or Cancel on failure.
    void OnDeferredWork() override;

    static LPCSTR Template() { return "LInstallingDlg"; }

    char programFolder[kPathSize] = {};
    bool installed = false;
};
