// Help from the real program: F1 in the main window opens the manual at its contents, the
// invoice dialog's Help button at the dialog's own topic, and the program keeps working while
// the help window is open. Every test closes the help window it opened.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include "resource_ids.h"
#include "support/running_program.h"
#include "win32/support/help_viewer_win32.h"

namespace e2e {
namespace {

constexpr DWORD kHelpBoundMs = 30000;
constexpr DWORD kDialogBoundMs = 20000;

bool Answers(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

class HelpTest : public testing::Test {
  protected:
    void SetUp() override {
        DeleteProductSettings();
        help_viewer::CloseViewers(kHelpBoundMs);
    }
    void TearDown() override {
        EXPECT_TRUE(help_viewer::CloseViewers(kHelpBoundMs)) << "a help window stayed open";
        DeleteProductSettings();
    }
};

TEST_F(HelpTest, F1InTheMainWindowShowsTheContentsAndTheProgramKeepsWorking) {
    RunningProgram program;
    HWND window = program.window();
    ASSERT_NE(window, nullptr) << "no window titled Quillmet appeared";
    ASSERT_TRUE(PressKey(window, VK_F1, kDialogBoundMs))
        << "the main window did not come to the front";

    HWND viewer = help_viewer::WaitForTopic("Quillmet Help", kHelpBoundMs);
    ASSERT_NE(viewer, nullptr) << "F1 showed no contents; shown: " << help_viewer::Shown();
    EXPECT_EQ(help_viewer::Caption(viewer), "Quillmet Help");

    EXPECT_TRUE(Answers(window));
    ASSERT_TRUE(PutTextOnClipboard("counted while help is open"));
    SendMessageA(window, WM_COMMAND, IDCMD_UPDATE_TEXT, 0);
    EXPECT_EQ(ControlText(window, IDC_WORDS), "5");
    EXPECT_TRUE(help_viewer::CloseViewers(kHelpBoundMs));
    EXPECT_TRUE(program.End());
}

TEST_F(HelpTest, HelpInTheInvoiceDialogAndOnTheSettingsPageShowsTheirTopics) {
    RunningProgram program;
    HWND window = program.window();
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_COMMAND, IDCMD_ADD_TO_INVOICE, 0);
    HWND dialog =
        WaitForDialog("Create or Add to TSV File", program.process().Id(), kDialogBoundMs);
    ASSERT_NE(dialog, nullptr) << "Add to Invoice opened no invoice dialog";

    PressButton(dialog, IDHELP);
    HWND viewer = help_viewer::WaitForTopic("The Invoice Data Dialog", kHelpBoundMs);
    ASSERT_NE(viewer, nullptr) << "Help showed no invoice topic; shown: " << help_viewer::Shown();
    EXPECT_TRUE(Answers(dialog));
    EXPECT_TRUE(IsWindow(dialog)) << "Help closed the invoice dialog";
    EXPECT_TRUE(help_viewer::CloseViewers(kHelpBoundMs));
    PressButton(dialog, IDCANCEL);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, kDialogBoundMs));

    PostMessageA(window, WM_COMMAND, IDCMD_SETTINGS, 0);
    HWND sheet = WaitForDialog("Settings", program.process().Id(), kDialogBoundMs);
    ASSERT_NE(sheet, nullptr) << "Settings... opened no sheet";
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_HELP, 0);
    viewer = help_viewer::WaitForTopic("The Settings Page", kHelpBoundMs);
    ASSERT_NE(viewer, nullptr) << "Help showed no settings topic; shown: " << help_viewer::Shown();
    EXPECT_TRUE(help_viewer::CloseViewers(kHelpBoundMs));
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(sheet); }, kDialogBoundMs));
    EXPECT_TRUE(program.End());
}

}  // namespace
}  // namespace e2e
