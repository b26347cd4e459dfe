#include "setup/related_pages_win32.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

#include "base/maker_hosts.h"
#include "base/paths.h"
#include "net/http_get_win32.h"
#include "resource_ids.h"
#include "settings/settings_store_win32.h"
#include "settings/system_checks.h"
#include "settings/site_pages_win32.h"
#include "settings/system_checks_win32.h"
#include "setup/install_steps_win32.h"
#include "setup/related_products.h"
#include "setup/setup_file_check_win32.h"
#include "setup/setup_rules.h"
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
    std::snprintf(key, sizeof key, "Software\\Kestrovan\\%s\\Settings", product.settingsKey);
    char value[kSettingsTextSize];
    ReadRegistryString(HKEY_LOCAL_MACHINE, key, product.settingsValue, "", value);
    if (value[0] == '\0')
        ReadRegistryString(HKEY_CURRENT_USER, key, product.settingsValue, "", value);
    return value[0] != '\0';
}

// Waits while the windows stay alive; false when the page was left meanwhile.
bool PumpedWait(TimedWizardPage& page, DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        if (PumpPageMessages(page)) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    return true;
}

// Starts the downloaded set-up with "LQUIET" set and the quiet argument, so that it shows no
// terms and offers no programs of its own; a value the process had before is left as it was.
// The program is named apart from the quoted command line: a temporary folder with blanks
// must not start a program of another name.
bool StartQuietly(const char* file) {
    char command[kPathSize + 16];
    std::snprintf(command, sizeof command, "\"%s\" %s", file, kQuietArgument);
    char previous[2];
    const bool wasSet = GetEnvironmentVariableA("LQUIET", previous, sizeof previous) > 0;
    SetEnvironmentVariableA("LQUIET", "1");
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessA(file, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                        &startup, &process) != FALSE;
    if (!wasSet) SetEnvironmentVariableA("LQUIET", nullptr);
    if (started) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    return started;
}

// Plain HTTP cannot tell who sent the file: at the least it must be a whole set-up file of
// ours. The file stays open, unwritable by others, until the set-up has started.
int StartDownloadedSetup(TimedWizardPage& page, const char* file) {
    HANDLE opened = CreateFileA(file, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return kTransferFailed;
    InstallTrailer trailer{};
    const SetupFileCheck check = CheckSetupFile(page, opened, trailer);
    // A file that cannot be started is as much a failure as one that did not come.
    int result = kTransferFailed;
    if (check == SetupFileCheck::Stopped) {
        result = kTransferStopped;
    } else if (check == SetupFileCheck::Sound) {
        if (StartQuietly(file)) result = kTransferDone;
    }
    CloseHandle(opened);
    if (check == SetupFileCheck::Damaged) {
        MessageBoxA(page.Window(), "The downloaded file is damaged; please try again later.",
                    nullptr, MB_ICONERROR);
        result = kInstallReported;
    }
    return result;
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
        const bool recommended = !installed && (product.flags & kRecommended) != 0;
        char text[kPathSize];
        if (installed) {
            std::snprintf(text, sizeof text, "%s [Update]", product.displayName);
        } else if (recommended) {
            std::snprintf(text, sizeof text, "%s [Recommended]", product.displayName);
        } else {
            std::snprintf(text, sizeof text, "%s", product.displayName);
        }
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = text;
        const int index = static_cast<int>(
            SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        SetListViewItemChecked(list, index, recommended);
    }
    selection_.mask = 0;
    LVITEMA none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    LVITEMA first{};
    first.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    first.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&first));
}

void SelectRelatedPage::UpdateControls() {
    if (window_ == nullptr) return;
    int checked = 0;
    for (int row = 0; kRelatedProducts[row].displayName != nullptr; ++row) {
        if (ItemChecked(row)) ++checked;
    }
    PostMessageA(GetParent(window_), PSM_SETWIZBUTTONS, 0,
                 checked == 0 ? PSWIZB_FINISH : PSWIZB_NEXT);
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
    PostMessageA(GetParent(window_), PSM_SETWIZBUTTONS, 0, PSWIZB_DISABLEDFINISH);
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
    if (started > 0 && !PumpedWait(*this, kSettleAfterStartMs)) return;
    PressNextOrFinish(*this);
}

int InstallOnDemand(TimedWizardPage& page, const char* componentName) {
    return InstallOnDemand(page, componentName, kMakerDownloadHost, kMakerFallbackDownloadHost);
}

int InstallOnDemand(TimedWizardPage& page, const char* componentName, const char* host,
                    const char* fallbackHost) {
    SetPageStatusLine(0, page, "Download install-on-demand");
    SetPageStatusLine(1, page, componentName);
    char tempFolder[kPathSize];
    if (!TemporaryFolder(page.Window(), nullptr, tempFolder)) return kInstallReported;
    char file[kPathSize];
    PathJoinWithSuffix(tempFolder, componentName, ".exe", file);
    char name[kPathSize];
    PathFileName(file, name);

    char url[kPathSize + 64];
    std::snprintf(url, sizeof url, "http://%s/components/%s", host, name);
    PageTransferOwner owner(page);
    int result = HttpGetToFile(url, file, owner);
    if (result == kTransferFailed) {
        std::snprintf(url, sizeof url, "http://%s/components/%s", fallbackHost, name);
        result = HttpGetToFile(url, file, owner);
    }
    if (result == kTransferDone) {
        SetPageStatusLine(0, page, "Running install-on-demand");
        result = StartDownloadedSetup(page, file);
    }
    DeleteFileA(file);
    return result;
}
