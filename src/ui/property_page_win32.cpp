#include "ui/property_page_win32.h"

INT_PTR PropertyPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const NMHDR* header = SheetNotification(message, lParam)) {
        switch (header->code) {
            case PSN_QUERYCANCEL:
                // TRUE keeps the sheet open.
                SetMessageResult(OnCancel() ? FALSE : TRUE);
                return 1;
            case PSN_HELP:
                OnHelp();
                return 1;
            case PSN_APPLY:
                SetMessageResult(OnOk() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE);
                return 1;
            default:
                break;
        }
    } else if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        // The sheet's own OK and Cancel do this work.
        return 1;
    }
    return StandardDispatch(message, wParam, lParam);
}

const NMHDR* PropertyPage::SheetNotification(UINT message, LPARAM lParam) const {
    if (message != WM_NOTIFY || window_ == nullptr) return nullptr;
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header == nullptr || header->hwndFrom != GetParent(window_)) return nullptr;
    return header;
}

INT_PTR CALLBACK PropertyPage::PageProcedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    DialogBase* created = nullptr;
    if (message == WM_INITDIALOG && lParam != 0) {
        created =
            reinterpret_cast<DialogBase*>(reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam);
    }
    return Route(window, message, wParam, lParam, created);
}

bool PropertySheetPages::Add(PropertyPage& page, LPCSTR templateName, DWORD flags,
                             const char* headerTitle, const char* headerSubtitle) {
    if (count_ >= kMaxSheetPages) return false;
    PROPSHEETPAGEA& description = pages_[count_];
    description = PROPSHEETPAGEA{};
    description.dwSize = sizeof description;
    description.dwFlags = flags;
    description.hInstance = ProgramInstance();
    description.pszTemplate = templateName;
    description.pfnDlgProc = &PropertyPage::PageProcedure;
    description.lParam = reinterpret_cast<LPARAM>(static_cast<DialogBase*>(&page));
    if (headerTitle != nullptr) {
        description.dwFlags |= PSP_USEHEADERTITLE;
        description.pszHeaderTitle = headerTitle;
    }
    if (headerSubtitle != nullptr) {
        description.dwFlags |= PSP_USEHEADERSUBTITLE;
        description.pszHeaderSubTitle = headerSubtitle;
    }
    ++count_;
    return true;
}

void PropertySheetPages::AttachTo(PROPSHEETHEADERA& header) const {
    header.dwFlags |= PSH_PROPSHEETPAGE;
    header.nPages = static_cast<UINT>(count_);
    header.ppsp = pages_;
}
