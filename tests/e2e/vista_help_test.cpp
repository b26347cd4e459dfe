// Help from the real program on Windows Vista, which has no WinHelp viewer: F1 and the Help of
// the settings page and of the invoice dialog open manual.html at their topics in the browser,
// with no message and no WinHelp window; a missing manual is named in one message.
//
// The program runs as a copy, quillmet-vista.exe, to which Wine reports Windows Vista (its
// per-program version, HKCU\Software\Wine\AppDefaults\<file name>), in a folder with a blank in
// its name beside the manual the build made. Everything else in the prefix still sees Windows XP.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <shlwapi.h>

#include "resource_ids.h"
#include "support/running_program.h"
#include "win32/support/help_viewer_win32.h"

namespace e2e {
namespace {

constexpr DWORD kBoundMs = 30000;
constexpr char kWineVersionKey[] = "Software\\Wine\\AppDefaults\\quillmet-vista.exe";

class VistaHelpTest : public testing::Test {
  protected:
    void SetUp() override {
        DeleteProductSettings();
        folder_ = MakeScratchFolder("vista help");
        program_ = CopyProgram(folder_, "quillmet-vista.exe");
        ASSERT_FALSE(program_.empty()) << "the program could not be copied to " << folder_;
        const std::string built = ProgramPath().substr(0, ProgramPath().rfind('\\'));
        ASSERT_TRUE(CopyFileA((built + "\\manual.html").c_str(), Manual().c_str(), FALSE))
            << "the build makes manual.html beside the program";
        ASSERT_EQ(SHSetValueA(HKEY_CURRENT_USER, kWineVersionKey, "Version", REG_SZ, "vista", 6),
                  ERROR_SUCCESS);
        ForgetOpenedPages();
    }
    void TearDown() override {
        SHDeleteKeyA(HKEY_CURRENT_USER, kWineVersionKey);
        EXPECT_TRUE(help_viewer::CloseViewers(kBoundMs)) << "a help window was opened";
    }

    std::string Manual() const { return folder_ + "\\manual.html"; }

    // Waits for the browser to be handed the manual of this folder at the anchor, and checks
    // that the program showed no message and no WinHelp window meanwhile. The stand-in
    // browser records the address as Wine's browser passes it on: "file://C:\...".
    void ExpectManualOpenedAt(RunningProgram& program, const std::string& anchor) {
        const std::string address = "file://" + Manual() + "#" + anchor;
        EXPECT_TRUE(
            WaitFor([&] { return OpenedPages().find(address) != std::string::npos; }, kBoundMs))
            << "expected " << address << "; pages opened: " << OpenedPages();
        EXPECT_EQ(WaitForDialog("Error", program.process().Id(), 0), nullptr) << "a message";
        EXPECT_TRUE(help_viewer::Viewers().empty()) << help_viewer::Shown();
    }

    std::string folder_, program_;
};

TEST_F(VistaHelpTest, EveryHelpEntryPointOpensItsTopicOfTheHtmlManualInTheBrowser) {
    RunningProgram program("", false, program_);
    HWND window = program.window();
    ASSERT_NE(window, nullptr) << "the copy reporting Windows Vista showed no window";
    ASSERT_TRUE(PressKey(window, VK_F1, kBoundMs)) << "the main window did not come to the front";
    ExpectManualOpenedAt(program, "contents");

    PostMessageA(window, WM_COMMAND, IDCMD_SETTINGS, 0);
    HWND sheet = WaitForDialog("Settings", program.process().Id(), kBoundMs);
    ASSERT_NE(sheet, nullptr) << "Settings... opened no sheet";
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_HELP, 0);
    ExpectManualOpenedAt(program, "settings");
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(sheet); }, kBoundMs));

    PostMessageA(window, WM_COMMAND, IDCMD_ADD_TO_INVOICE, 0);
    HWND dialog = WaitForDialog("Create or Add to TSV File", program.process().Id(), kBoundMs);
    ASSERT_NE(dialog, nullptr) << "Add to Invoice opened no invoice dialog";
    PressButton(dialog, IDHELP);
    ExpectManualOpenedAt(program, "invoice");
    PressButton(dialog, IDCANCEL);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, kBoundMs));

    // Without the manual: one message names it, and no viewer opens.
    ForgetOpenedPages();
    ASSERT_TRUE(DeleteFileA(Manual().c_str()));
    PostMessageA(window, WM_COMMAND, IDCMD_HELP_CONTENTS, 0);
    HWND box = WaitForDialog("Error", program.process().Id(), kBoundMs);
    ASSERT_NE(box, nullptr) << "no message for the missing manual";
    EXPECT_NE(MessageBoxText(box).find("\"" + Manual() + "\" cannot be found"), std::string::npos)
        << MessageBoxText(box);
    PressButton(box, IDOK);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, kBoundMs));
    EXPECT_EQ(OpenedPages(), "");
    EXPECT_TRUE(program.End());
}

}  // namespace
}  // namespace e2e
