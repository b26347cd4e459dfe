// Pages of property sheets and wizards. A page object is bound to its page window by the
// page dialog procedure (the object travels in the page description's lParam) and answers
// the sheet's notifications through the DialogBase slots.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include "ui/dialog_base_win32.h"

class PropertyPage : public DialogBase {
  public:
    // Property-page dispatch: the sheet's PSN_QUERYCANCEL, PSN_HELP and PSN_APPLY go to
    // OnCancel, OnHelp and OnOk (their answers become the message results); OK and Cancel
    // commands of the page itself are left to the sheet; the rest is the standard dispatch.
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The dialog procedure of every page: at WM_INITDIALOG the object is the lParam of the
    // page description the system passes.
    static INT_PTR CALLBACK PageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  protected:
    // The sheet notification in lParam, or null when the message is not one.
    const NMHDR* SheetNotification(UINT message, LPARAM lParam) const;
};

// The page array of a sheet built by the program: at most 32 pages.
constexpr int kMaxSheetPages = 32;

class PropertySheetPages {
  public:
    PropertySheetPages() = default;
    PropertySheetPages(const PropertySheetPages&) = delete;
    PropertySheetPages& operator=(const PropertySheetPages&) = delete;

    // Describes a page showing templateName (from the program's module) for page, with the
    // header texts of a wizard page when given. Refused (false, nothing added) once the array
    // holds 32 pages.
    bool Add(PropertyPage& page, LPCSTR templateName, DWORD flags = PSP_DEFAULT,
             const char* headerTitle = nullptr, const char* headerSubtitle = nullptr);
    int Count() const { return count_; }
    const PROPSHEETPAGEA* Pages() const { return pages_; }
    // Points the header at the pages: PSH_PROPSHEETPAGE, nPages, ppsp.
    void AttachTo(PROPSHEETHEADERA& header) const;

  private:
    PROPSHEETPAGEA pages_[kMaxSheetPages] = {};
    int count_ = 0;
};
