#include "ui/wizard_page_win32.h"

#include "base/gdi_object_win32.h"
#include "resource_ids.h"

void WizardPage::EndWindow(INT_PTR) {
    if (window_ != nullptr) PostMessageA(GetParent(window_), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

INT_PTR WizardPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const NMHDR* header = SheetNotification(message, lParam)) {
        switch (header->code) {
            case PSN_WIZFINISH:
            case PSN_WIZNEXT:
                SetMessageResult(OnOk() ? 0 : -1);
                return 1;
            case PSN_KILLACTIVE:
                OnPageDeactivate();
                SetMessageResult(0);
                return 1;
            case PSN_SETACTIVE:
                PostMessageA(header->hwndFrom, PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(flags_));
                OnPageActivate();
                UpdateControls();
                SetMessageResult(0);
                return 1;
            default:
                break;  // PSN_WIZBACK included: Back is always allowed.
        }
    }
    return PropertyPage::HandleMessage(message, wParam, lParam);
}

void TimedWizardPage::OnPageActivate() {
    stop_ = false;
    if (window_ != nullptr) SetTimer(window_, kDeferredWorkTimer, 0, nullptr);
}

void TimedWizardPage::OnPageDeactivate() { stop_ = true; }

INT_PTR TimedWizardPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && window_ != nullptr) {
        KillTimer(window_, kDeferredWorkTimer);
        if (wParam == kDeferredWorkTimer) OnDeferredWork();
    }
    // A cancelled sheet destroys its pages only after this notification is answered: work
    // under way must stop now, not run on behind a wizard that is closing.
    if (const NMHDR* header = SheetNotification(message, lParam)) {
        if (header->code == static_cast<UINT>(PSN_RESET)) stop_ = true;
    }
    return WizardPage::HandleMessage(message, wParam, lParam);
}

namespace {

// One pixel of the window colour, so that the header is plain.
HBITMAP MakePlainHeaderBitmap() {
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const int level = (GetRValue(window) + GetGValue(window) + GetBValue(window)) / 3;
    // One-bit rows are padded to 16 bits; the pixel is the first byte's top bit (1 is white).
    const BYTE bits[2] = {static_cast<BYTE>(level >= 128 ? 0x80 : 0), 0};
    return CreateBitmap(1, 1, 1, 1, bits);
}

}  // namespace

void RunWizardSheet(const PropertySheetPages& pages, HWND parent) {
    const GdiObject<HBITMAP> headerBitmap(MakePlainHeaderBitmap());
    PROPSHEETHEADERA header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_WIZARD97 | PSH_USEHBMHEADER | PSH_HEADER | PSH_USEICONID;
    header.hwndParent = parent;
    header.hInstance = ProgramInstance();
    header.pszCaption = "";
    header.pszIcon = MAKEINTRESOURCEA(IDI_PROGRAM);
    header.hbmHeader = headerBitmap.Get();
    pages.AttachTo(header);
    PropertySheetA(&header);
}

void ShowWizardButtons(WizardPage& page, WizardPageFlags buttons) {
    if (page.Window() != nullptr) {
        PostMessageA(GetParent(page.Window()), PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(buttons));
    }
}

void PressWizardButton(WizardPage& page, int button) {
    if (page.Window() != nullptr) {
        PostMessageA(GetParent(page.Window()), PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0);
    }
}

void PressNextOrFinish(WizardPage& page) {
    PressWizardButton(page, (page.Flags() & PSWIZB_NEXT) != 0 ? PSBTN_NEXT : PSBTN_FINISH);
}
