// The two pages that offer the maker's related programs and install the chosen ones. The
// install wizard shows them after installing; the related-programs reminder shows them alone.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/wizard_page_win32.h"

// The rows the user chose, bit i for row i of the related-products table.
struct RelatedSelection {
    std::uint32_t mask = 0;
};

class SelectRelatedPage : public WizardPage {
  public:
    explicit SelectRelatedPage(RelatedSelection& selection) : selection_(selection) {}

    void OnInit() override;
    void UpdateControls() override;
    bool OnOk() override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    static LPCSTR Template() { return "LSelectRelatedDlg"; }

  private:
    HWND List() const;
    bool ItemChecked(int item) const;
    void ShowProduct(int row);

    RelatedSelection& selection_;
};

class InstallingRelatedPage : public TimedWizardPage {
  public:
    explicit InstallingRelatedPage(RelatedSelection& selection) : selection_(selection) {}

    bool OnCancel() override { return true; }
    void OnDeferredWork() override;

    static LPCSTR Template() { return "LInstallingDlg"; }

  private:
    RelatedSelection& selection_;
};

// InstallOnDemand's failure when it has told the user why itself (a damaged download, no
// temporary folder); the page reports it no further.
constexpr int kInstallReported = 3;

// Downloads a related program's set-up (the fallback host once when the download host fails)
// into the temporary folder and, when it is a whole set-up file of ours, starts it quietly,
// showing progress on the page. 0 started, 1 stopped by the user, kInstallReported, 2 (or
// another value) failed. The downloaded file is deleted.
int InstallOnDemand(TimedWizardPage& page, const char* componentName);
// The same from the given download hosts ("host" or "host:port").
int InstallOnDemand(TimedWizardPage& page, const char* componentName, const char* host,
                    const char* fallbackHost);
