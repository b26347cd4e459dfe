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
