#include "app/periodic_checks_win32.h"

#include <shellapi.h>

#include <ctime>

#include "base/maker_hosts.h"
#include "net/http_get_win32.h"
#include "net/periodic_checks.h"
#include "settings/settings_store_win32.h"
#include "setup/related_pages_win32.h"
#include "ui/progress_dialog_win32.h"

namespace {

constexpr char kSection[] = "Settings";

const char kUpdateQuestion[] =
    "An updated version of this software is now available for download online. Do you want to "
    "see more information about the new version?";

void ReadMachineText(const char* name, char (&out)[kSettingsTextSize]) {
    SettingsStore::ReadString(SettingsScope::MachineWide, kSection, name, "", out);
}

void StoreTime(const char* name, std::int64_t time) {
    char text[32];
    FormatStoredTime(time, text);
    SettingsStore::WriteString(SettingsScope::MachineWide, kSection, name, text);
}

// Fetches the version file into memory while "Checking for Updates" shows.
class VersionFetch : public ProgressDialog {
  public:
    VersionFetch() : ProgressDialog("Checking for Updates") {}

    bool Run() override {
        char address[kInfoAddressSize];
        VersionFileAddress(kMakerVersionHost, address);
        ProgressDialogTransferOwner owner(*this);
        result = HttpGetToMemory(address, reply, owner);
        return true;
    }

    int result = kTransferFailed;  // stays failed when the window cannot be shown
    char reply[kMemoryReplySize] = {};
};

void CheckForUpdate(HWND mainWindow) {
    VersionFetch fetch;
    RunWithProgress(fetch, mainWindow);
    // A stop (Cancel, or the program closing) keeps whatever had arrived from being read.
    if (fetch.result != kTransferDone || !IsWindow(mainWindow)) return;
    const VersionFile file = ReadVersionFile(fetch.reply, sizeof fetch.reply - 1);
    const int last = SettingsStore::ReadInt(SettingsScope::MachineWide, kSection,
                                            "LastCheckVersion", kOwnVersion);
    if (!ShouldOfferUpdate(file, last)) return;
    if (MessageBoxA(mainWindow, kUpdateQuestion, "Update Version Available",
                    MB_YESNOCANCEL | MB_ICONQUESTION) != IDYES) {
        return;
    }
    // Only a web address is handed to the shell; without one nothing is opened or stored.
    if (file.info[0] == '\0') return;
    ShellExecuteA(nullptr, nullptr, file.info, nullptr, nullptr, SW_SHOWNORMAL);
    SettingsStore::WriteInt(SettingsScope::MachineWide, kSection, "LastCheckVersion", file.version);
}

// The install wizard's two related-programs pages as a modal wizard over the main window.
void RunRelatedProgramsWizard(HWND mainWindow) {
    RelatedSelection selection;
    SelectRelatedPage select(selection);
    InstallingRelatedPage installing(selection);
    PropertySheetPages pages;
    pages.Add(select, SelectRelatedPage::Template(), PSP_DEFAULT, "Select Related Programs",
              "Which related program should also be installed?");
    pages.Add(installing, InstallingRelatedPage::Template(), PSP_DEFAULT,
              "Installing Related Programs",
              "Please wait while setup is installing the selected related program(s) on your "
              "computer.");
    select.SetFlags(PSWIZB_NEXT);
    installing.SetFlags(PSWIZB_BACK | PSWIZB_FINISH);

    RunWizardSheet(pages, mainWindow);
}

}  // namespace

void RunPeriodicChecks(HWND mainWindow) {
    // A disabled main window lies under one of the program's modal windows (a dialog, a sheet,
    // the reminder, the check's own progress window): nothing runs and nothing is stored, so
    // the check comes at a later show.
    if (mainWindow == nullptr || !IsWindowEnabled(mainWindow)) return;

    char relatedPCheck[kSettingsTextSize];
    char relatedPDate[kSettingsTextSize];
    char vCheckDate[kSettingsTextSize];
    ReadMachineText("RelatedPCheck", relatedPCheck);
    ReadMachineText("RelatedPDate", relatedPDate);
    ReadMachineText("VCheckDate", vCheckDate);
    PeriodicValues values;
    values.relatedPCheck = relatedPCheck;
    values.relatedPDate = relatedPDate;
    values.vCheckDate = vCheckDate;
    const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
    const PeriodicPlan plan = PlanPeriodicChecks(now, values);

    if (plan.storeRelatedPDate) StoreTime("RelatedPDate", now);
    if (plan.markRelatedPCheck) SettingsStore::MarkMachineFlag("RelatedPCheck");
    if (plan.storeVCheckDate) StoreTime("VCheckDate", now);
    switch (plan.action) {
        case PeriodicAction::kShowReminder:
            RunRelatedProgramsWizard(mainWindow);
            break;
        case PeriodicAction::kCheckForUpdate:
            CheckForUpdate(mainWindow);
            break;
        case PeriodicAction::kNothing:
            break;
    }
}
