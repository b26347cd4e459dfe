#include "setup/related_pages_win32.h"

#include <commctrl.h>

#include <cstdio>

#include "base/paths.h"
#include "net/http_rules.h"
#include "resource_ids.h"
#include "settings/settings_store_win32.h"
#include "settings/site_pages_win32.h"
#include "settings/system_checks.h"
#include "setup/install_on_demand_win32.h"
#include "setup/related_products.h"
#include "ui/hyperlink_win32.h"
#include "ui/list_view_win32.h"
#include "ui/progress_dialog_win32.h"

namespace {

constexpr int kListId = 101;
constexpr int kDescriptionId = 102;
constexpr COLORREF kLinkColour = 0xC00000;
constexpr DWORD kSettleAfterStartMs = 1500;

bool ProductInstalled(const RelatedProduct& product) {
    char key[kPathSize];
    FormRelatedSettingsKey(product, key);
    char value[kSettingsTextSize];
    ReadRegistryString(HKEY_LOCAL_MACHINE, key, product.settingsValue, "", value);
    if (value[0] == '\0')
        ReadRegistryString(HKEY_CURRENT_USER, key, product.settingsValue, "", value);
    return value[0] != '\0';
}

}  // namespace

HWND SelectRelatedPage::List() const { return GetDlgItem(window_, kListId); }

bool SelectRelatedPage::ItemChecked(int item) const { return ListViewItemChecked(List(), item); }

void SelectRelatedPage::OnInit() {
    MakeHyperlink(*this);
    HWND list = List();
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    // One column as wide as the list: a long name ends in an ellipsis instead of being cut.
    RECT client{};
    GetClientRect(list, &client);
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(client.right - client.left, 0));
    for (int row = 0; kRelatedProducts[row].displayName != nullptr; ++row) {
        const RelatedProduct& product = kRelatedProducts[row];
        const bool installed = ProductInstalled(product);
        char text[kPathSize];
        FormOfferLabel(product, installed, text);
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = text;
        const int index = static_cast<int>(
            SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        SetListViewItemChecked(list, index, OfferedTicked(product, installed));
    }
    selection_.mask = 0;
    SelectOnlyListViewItem(list, 0);
}

void SelectRelatedPage::UpdateControls() {
    if (window_ == nullptr) return;
    int checked = 0;
    for (int row = 0; kRelatedProducts[row].displayName != nullptr; ++row) {
        if (ItemChecked(row)) ++checked;
    }
    ShowWizardButtons(*this, checked == 0 ? PSWIZB_FINISH : PSWIZB_NEXT);
}

bool SelectRelatedPage::OnOk() {
    for (int row = 0; kRelatedProducts[row].displayName != nullptr; ++row) {
        if (ItemChecked(row)) selection_.mask |= std::uint32_t{1} << row;
    }
    return true;
}

void SelectRelatedPage::ShowProduct(int row) {
    if (row < 0 || row >= kRelatedProductCount) return;
    SetDlgItemTextA(window_, kDescriptionId, kRelatedProducts[row].description);
    char address[kSitePageAddressSize];
    if (FormSitePageAddress(kRelatedProducts[row].webPage, address)) {
        SetDlgItemTextA(window_, kHyperlinkControlId, address);
    }
}

INT_PTR SelectRelatedPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header != nullptr && header->idFrom == kListId && header->code == LVN_ITEMCHANGED) {
            UpdateControls();
            const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
            if ((change->uChanged & LVIF_STATE) != 0 && (change->uNewState & LVIS_SELECTED) != 0) {
                ShowProduct(change->iItem);
            }
            return 1;
        }
    }
    if (message == WM_CTLCOLORSTATIC &&
        GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kHyperlinkControlId) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, kLinkColour);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    }
    return WizardPage::HandleMessage(message, wParam, lParam);
}

void InstallingRelatedPage::OnDeferredWork() {
    ShowWizardButtons(*this, PSWIZB_DISABLEDFINISH);
    bool reported = false;
    int started = 0;
    for (int row = 0; kRelatedProducts[row].displayName != nullptr; ++row) {
        if ((selection_.mask & (std::uint32_t{1} << row)) == 0) continue;
        const RelatedProduct& product = kRelatedProducts[row];
        const int result = InstallOnDemand(*this, product.componentName);
        // Stopped by the user: no failure, and nothing more is tried.
        if (result == kTransferStopped || StopRequested()) return;
        if (result == kTransferDone) {
            ++started;
            continue;
        }
        if (result == kInstallReported) reported = true;
        if (reported) continue;
        reported = true;
        char text[512];
        std::snprintf(text, sizeof text,
                      "Automatic download of the install-on-demand the component \"%s\" failed. "
                      "Your firewall might have blocked automatic connections. The website will "
                      "now be opened where you can download it manually.",
                      product.displayName);
        MessageBoxA(window_, text, nullptr, MB_ICONERROR);
        OpenSitePage(product.webPage);
    }
    if (started > 0 && PumpPageMessagesFor(*this, kSettleAfterStartMs)) return;
    PressNextOrFinish(*this);
}
