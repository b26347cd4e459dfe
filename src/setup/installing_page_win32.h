// The wizard page that installs the program: it extracts the payload from the set-up file
// and completes the installation, showing progress.
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

// Checks the set-up file whole (trailer, length, checksum) before writing anything, then
// copies each payload entry out and completes the installation. Reports what went wrong;
// false on any failure, and without a message when the user stopped it.
bool ExtractPayload(InstallingPage& page);
