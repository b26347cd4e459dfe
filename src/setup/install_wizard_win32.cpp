#include "setup/install_wizard_win32.h"

#include <windows.h>
#include <commctrl.h>

#include "resource_ids.h"
#include "settings/system_checks_win32.h"
#include "setup/install_steps_win32.h"
#include "setup/installing_page_win32.h"
#include "setup/program_start_win32.h"
#include "setup/related_pages_win32.h"
#include "setup/setup_rules.h"
#include "setup/start_arguments_win32.h"

namespace {

constexpr int kTermsTextId = 199;
constexpr int kAgreeId = 101;
constexpr int kDisagreeId = 102;

const char kTermsText[] =
    "QUILLMET SOFTWARE LICENCE TERMS\r\n\r\n"
    "1. Licence. Kestrovan grants you the right to install and use one copy of Quillmet on each "
    "computer you use for your own typing and transcription work.\r\n\r\n"
    "2. Copies. You may make copies of the set-up file for backup, and pass the unchanged set-up "
    "file on to others, who then accept these terms for themselves.\r\n\r\n"
    "3. Restrictions. You may not sell or rent Quillmet, remove its notices, or change, "
    "decompile or disassemble it, except where the law allows this in spite of this term.\r\n\r\n"
    "4. Your work. The texts you count and the invoice files Quillmet writes are yours. Quillmet "
    "sends none of them anywhere; it only asks the Kestrovan web site now and then whether a "
    "newer version exists.\r\n\r\n"
    "5. No warranty. Quillmet is provided as it is. Check the counts and prices of a job before "
    "you bill it: Kestrovan is not liable for figures you did not check.\r\n\r\n"
    "6. Limit of liability. Kestrovan's liability for any claim is limited to the amount you "
    "paid for Quillmet, as far as the law allows.\r\n\r\n"
    "7. Ending. This licence ends if you break its terms; you must then remove Quillmet from "
    "your computers. Removing Quillmet is always possible from its uninstaller.\r\n";

class TermsPage : public WizardPage {
  public:
    void OnInit() override { SetDlgItemTextA(window_, kTermsTextId, kTermsText); }

    void UpdateControls() override {
        HWND sheet = GetParent(window_);
        if (IsDlgButtonChecked(window_, kDisagreeId) == BST_CHECKED) {
            SendMessageA(sheet, PSM_SETFINISHTEXTA, 0, reinterpret_cast<LPARAM>("Close"));
            PostMessageA(sheet, PSM_SETWIZBUTTONS, 0, PSWIZB_FINISH);
        } else {
            const bool agreed = IsDlgButtonChecked(window_, kAgreeId) == BST_CHECKED;
            PostMessageA(sheet, PSM_SETWIZBUTTONS, 0, agreed ? PSWIZB_NEXT : 0);
        }
    }

    // "Close" after "I do not agree" ends the wizard without installing.
    bool OnOk() override {
        if (IsDlgButtonChecked(window_, kAgreeId) != BST_CHECKED) EndWindow(IDCANCEL);
        return true;
    }

    bool OnCancel() override {
        return MessageBoxA(window_,
                           "Setup is not complete. If you quit now, the program will not be "
                           "installed.\r\n\r\nYou may run the setup program again at another "
                           "time to complete the installation.\r\n\r\nExit Setup?",
                           "Exit Setup", MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
    }

    static LPCSTR Template() { return "LTerms"; }
};

}  // namespace

void InstallWizard() {
    const bool quiet = IsQuietInstall() || HasQuietArgument(OwnStartArguments().arguments);
    if (NeedsElevatedRestart()) {
        char own[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, own, sizeof own - 1);
        // The elevated process does not get our environment: "LQUIET" goes as an argument.
        if (StartElevated(own, quiet ? kQuietArgument : "")) return;
    }

    InstallingPage installing;
    ProgramFolder(installing.programFolder);
    TermsPage terms;
    RelatedSelection selection;
    SelectRelatedPage selectRelated(selection);
    InstallingRelatedPage installingRelated(selection);

    PropertySheetPages pages;
    WizardPage* order[4] = {};
    int count = 0;
    const DWORD headerFlags = PSP_DEFAULT;
    if (!quiet) {
        pages.Add(terms, TermsPage::Template(), headerFlags, "Licence Agreement",
                  "Please read the following important information before continuing.");
        order[count++] = &terms;
    }
    pages.Add(installing, InstallingPage::Template(), headerFlags, "Installing",
              "Quillmet v " QM_PRODUCT_VERSION);
    order[count++] = &installing;
    if (!quiet) {
        pages.Add(selectRelated, SelectRelatedPage::Template(), headerFlags,
                  "Select Related Programs", "Which related program should also be installed?");
        order[count++] = &selectRelated;
        pages.Add(installingRelated, InstallingPage::Template(), headerFlags,
                  "Installing Related Programs",
                  "Please wait while setup is installing the selected related program(s) on "
                  "your computer.");
        order[count++] = &installingRelated;
    }
    order[0]->SetFlags(PSWIZB_NEXT);
    order[count - 1]->SetFlags(PSWIZB_BACK | PSWIZB_FINISH);

    RunWizardSheet(pages, nullptr);

    if (installing.installed) StartInstalledProgram(installing.programFolder);
}
