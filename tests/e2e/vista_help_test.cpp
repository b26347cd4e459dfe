// Help from the real program on Windows Vista, which has no WinHelp viewer: F1 and the Help of
// the settings page and of the invoice dialog open manual.html at their topics in the browser,
// with no message and no WinHelp window; the "HelpViewer" setting chooses the viewer; a
// setting that names none and a missing manual are told in a message.
//
// The program runs as a copy, quillmet-vista.exe, to which Wine reports Windows Vista (its
// per-program version, HKCU\Software\Wine\AppDefaults\<file name>), in a folder with a blank in
// its name beside the manual the build made. Everything else in the prefix still sees Windows XP.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <shlwapi.h>

#include <fstream>
#include <sstream>

#include "resource_ids.h"
#include "support/running_program.h"
#include "win32/support/help_viewer_win32.h"

namespace e2e {
namespace {

constexpr DWORD kBoundMs = 30000;
constexpr char kCopyName[] = "quillmet-vista.exe";
constexpr char kWineVersionKey[] = "Software\\Wine\\AppDefaults\\quillmet-vista.exe";

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The browser's log line that opened the manual in folder at anchor, or "". The recorded
// address is whatever the browser was handed, in either slash and with %20 or a blank.
std::string ManualOpenedAt(const std::string& folder, const std::string& anchor) {
    std::string pages = OpenedPages();
    for (std::size_t at = pages.find("%20"); at != std::string::npos; at = pages.find("%20"))
        pages.replace(at, 3, " ");
    for (char& c : pages) {
        if (c == '\\') c = '/';
    }
    std::string wanted = folder + "\\manual.html#" + anchor;
    for (char& c : wanted) {
        if (c == '\\') c = '/';
    }
    std::istringstream lines(pages);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("file:", 0) == 0 && line.size() > wanted.size() &&
            lstrcmpiA(line.c_str() + line.size() - wanted.size(), wanted.c_str()) == 0) {
            return line;
        }
    }
    return "";
}

class VistaHelpTest : public testing::Test {
  protected:
    void SetUp() override {
        DeleteProductSettings();
        help_viewer::CloseViewers(kBoundMs);
        folder_ = MakeScratchFolder("vista help");
        program_ = CopyProgram(folder_, kCopyName);
        ASSERT_FALSE(program_.empty()) << "the program could not be copied to " << folder_;
        for (const char* name : {"manual.html", "app.hlp"}) {
            const std::string built = FolderOf(ProgramPath()) + "\\" + name;
            ASSERT_TRUE(CopyFileA(built.c_str(), (folder_ + "\\" + name).c_str(), FALSE))
                << built << " (the build makes it beside the program)";
        }
        ASSERT_EQ(SHSetValueA(HKEY_CURRENT_USER, kWineVersionKey, "Version", REG_SZ, "vista", 6),
                  ERROR_SUCCESS);
        ForgetOpenedPages();
    }
    void TearDown() override {
        SHDeleteKeyA(HKEY_CURRENT_USER, kWineVersionKey);
        EXPECT_TRUE(help_viewer::CloseViewers(kBoundMs)) << "a help window stayed open";
        DeleteProductSettings();
    }

    // Waits for the browser to be handed the manual at anchor.
    bool WaitForManual(const std::string& anchor) {
        return WaitFor([&] { return !ManualOpenedAt(folder_, anchor).empty(); }, kBoundMs);
    }
    // Neither a message of the program nor a WinHelp window is open.
    void ExpectNoMessageAndNoViewer(RunningProgram& program) {
        EXPECT_EQ(WaitForDialog("Error", program.process().Id(), 0), nullptr) << "a message box";
        EXPECT_TRUE(help_viewer::Viewers().empty()) << help_viewer::Shown();
    }
    // Waits for the program's "Error" message, checks that it holds the text, and presses OK.
    void AnswerMessage(RunningProgram& program, const std::string& text) {
        HWND box = WaitForDialog("Error", program.process().Id(), kBoundMs);
        ASSERT_NE(box, nullptr) << "no message for: " << text;
        EXPECT_NE(MessageBoxText(box).find(text), std::string::npos) << MessageBoxText(box);
        PressButton(box, IDOK);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, kBoundMs));
    }

    std::string folder_, program_;
};

TEST_F(VistaHelpTest, EveryHelpEntryPointOpensItsTopicOfTheHtmlManualInTheBrowser) {
    const std::string manual = FileText(folder_ + "\\manual.html");
    for (const char* anchor : {"contents", "settings", "invoice"}) {
        EXPECT_NE(manual.find(std::string("id=\"") + anchor + "\""), std::string::npos) << anchor;
    }
    RunningProgram program("", false, program_);
    HWND window = program.window();
    ASSERT_NE(window, nullptr) << "the copy reporting Windows Vista showed no window";

    ASSERT_TRUE(PressKey(window, VK_F1, kBoundMs)) << "the main window did not come to the front";
    EXPECT_TRUE(WaitForManual("contents")) << "F1; pages opened: " << OpenedPages();
    ExpectNoMessageAndNoViewer(program);

    PostMessageA(window, WM_COMMAND, IDCMD_SETTINGS, 0);
    HWND sheet = WaitForDialog("Settings", program.process().Id(), kBoundMs);
    ASSERT_NE(sheet, nullptr) << "Settings... opened no sheet";
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_HELP, 0);
    EXPECT_TRUE(WaitForManual("settings")) << "settings Help; pages opened: " << OpenedPages();
    ExpectNoMessageAndNoViewer(program);
    EXPECT_TRUE(IsWindow(sheet)) << "Help closed the settings sheet";
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(sheet); }, kBoundMs));

    PostMessageA(window, WM_COMMAND, IDCMD_ADD_TO_INVOICE, 0);
    HWND dialog = WaitForDialog("Create or Add to TSV File", program.process().Id(), kBoundMs);
    ASSERT_NE(dialog, nullptr) << "Add to Invoice opened no invoice dialog";
    PressButton(dialog, IDHELP);
    EXPECT_TRUE(WaitForManual("invoice")) << "invoice Help; pages opened: " << OpenedPages();
    ExpectNoMessageAndNoViewer(program);
    PressButton(dialog, IDCANCEL);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, kBoundMs));
    EXPECT_TRUE(program.End());
}

TEST_F(VistaHelpTest, TheSettingChoosesTheViewerAndWhatCannotBeShownIsToldInAMessage) {
    RunningProgram program("", false, program_);
    HWND window = program.window();
    ASSERT_NE(window, nullptr);

    // Someone who installed the WinHelp viewer on Vista chooses it.
    WriteSetting("Settings", "HelpViewer", "winhelp");
    PostMessageA(window, WM_COMMAND, IDCMD_HELP_CONTENTS, 0);
    EXPECT_NE(help_viewer::WaitForTopic("Quillmet Help", kBoundMs), nullptr)
        << "\"winhelp\" showed no WinHelp window; shown: " << help_viewer::Shown();
    EXPECT_TRUE(help_viewer::CloseViewers(kBoundMs));

    // A setting that names no viewer is told, and the version decides.
    WriteSetting("Settings", "HelpViewer", "chm");
    PostMessageA(window, WM_COMMAND, IDCMD_HELP_CONTENTS, 0);
    AnswerMessage(program, "The setting \"HelpViewer\" is \"chm\"");
    EXPECT_TRUE(WaitForManual("contents")) << "pages opened: " << OpenedPages();

    // The manual missing: one message names it, and nothing else opens.
    WriteSetting("Settings", "HelpViewer", "");
    ForgetOpenedPages();
    ASSERT_TRUE(DeleteFileA((folder_ + "\\manual.html").c_str()));
    PostMessageA(window, WM_COMMAND, IDCMD_HELP_CONTENTS, 0);
    AnswerMessage(program, "\"" + folder_ + "\\manual.html\" cannot be found");
    EXPECT_EQ(WaitForDialog("Error", program.process().Id(), 2000), nullptr) << "a second message";
    EXPECT_EQ(OpenedPages(), "");
    EXPECT_TRUE(help_viewer::Viewers().empty()) << help_viewer::Shown();
    EXPECT_TRUE(program.End());
}

}  // namespace
}  // namespace e2e
