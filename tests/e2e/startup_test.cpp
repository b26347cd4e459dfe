// Start-up of the real program: one running copy, log-on starts, close requests, the version
// gate and set-up files without their marker.
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "resource_ids.h"
#include "support/running_program.h"

namespace e2e {
namespace {

constexpr unsigned char kSetupMarkerBytes[4] = {0xF0, 0xF0, 0x0F, 0x0F};

bool TrayIconPresent(HWND window) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = 24;
    // Changing nothing succeeds only for an icon that exists.
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

class StartupTest : public testing::Test {
  protected:
    void SetUp() override {
        DeleteProductSettings();
        ForgetOpenedPages();
    }
    void TearDown() override { DeleteProductSettings(); }
};

TEST_F(StartupTest, SecondStartShowsTheHiddenFirstCopyAndEnds) {
    RunningProgram first;
    ASSERT_NE(first.window(), nullptr);
    SendMessageA(first.window(), WM_COMMAND, IDCMD_CLOSE_TO_TRAY, 0);
    ASSERT_FALSE(IsWindowVisible(first.window()));

    Process second;
    ASSERT_TRUE(second.Start(ProgramPath(), "\"" + ProgramPath() + "\" -logon"));
    EXPECT_TRUE(second.WaitForExit(kExitBoundMs)) << "the second copy kept running";
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(first.window()) != FALSE; }, kExitBoundMs));
    EXPECT_TRUE(first.process().Running());
}

TEST_F(StartupTest, LogonStartIsHiddenWithTheTrayIcon) {
    RunningProgram program("-logon");
    ASSERT_NE(program.window(), nullptr);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(program.window()); }, kExitBoundMs));
    EXPECT_TRUE(TrayIconPresent(program.window()));
}

TEST_F(StartupTest, OnlyAnExactFirstArgumentMeansLogon) {
    RunningProgram program("-LOGON");
    ASSERT_NE(program.window(), nullptr);
    EXPECT_TRUE(IsWindowVisible(program.window()));
}

TEST_F(StartupTest, CloseRequestEndsWithoutAQuestion) {
    RunningProgram program;
    ASSERT_NE(program.window(), nullptr);
    PostMessageA(program.window(), WM_USER + 102, 0, 0);
    EXPECT_TRUE(program.process().WaitForExit(kExitBoundMs));
    EXPECT_EQ(WaitForDialog("Confirm Exit", program.process().Id(), 0), nullptr);
    // Every end saves the pricing inputs.
    EXPECT_EQ(ReadSetting(HKEY_CURRENT_USER, "Settings", "CharacterPerLine"), "80");
}

TEST_F(StartupTest, SetupNamedFileWithoutItsMarkerIsRefused) {
    const std::string folder = MakeScratchFolder("setup-name");
    const std::string copy = CopyProgram(folder, "Quillmet-Setup.exe");
    ASSERT_FALSE(copy.empty());
    Process process;
    ASSERT_TRUE(process.Start(copy, "\"" + copy + "\""));
    HWND box = WaitForDialog("Install Error", process.Id(), kStartBoundMs);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box),
              "Installation file corrupt.\n\nA checksum error was detected in your install file, "
              "please redownload file and install again.");
    PressButton(box, IDOK);
    EXPECT_TRUE(process.WaitForExit(kExitBoundMs));
    EXPECT_EQ(FindWindowA(MAKEINTATOM(0x8002), "Quillmet"), nullptr);
}

TEST_F(StartupTest, SetupFileStartedByARelativeNameFindsItsOwnMarker) {
    // Typed in a console as "quillmet-setup": no folder, no extension. The marker must still be
    // read from the program's own file, so the file is taken as a set-up program (which asks
    // a running copy to close) and not refused as corrupt at start-up. It carries no payload,
    // so its quiet wizard then finds the file damaged.
    RunningProgram running;
    ASSERT_NE(running.window(), nullptr);
    const std::string folder = MakeScratchFolder("setup-relative");
    const std::string copy =
        CopyProgram(folder, "quillmet-setup.exe", kSetupMarkerBytes, sizeof kSetupMarkerBytes);
    ASSERT_FALSE(copy.empty());
    // A bare program name is searched for in the starting program's current folder.
    char previousFolder[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof previousFolder, previousFolder);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    SetEnvironmentVariableA("LQUIET", "1");
    Process process;
    const bool started = process.Start("", "quillmet-setup", folder.c_str());
    SetEnvironmentVariableA("LQUIET", nullptr);
    SetCurrentDirectoryA(previousFolder);
    ASSERT_TRUE(started);
    EXPECT_TRUE(running.process().WaitForExit(kExitBoundMs)) << "the running copy was not closed";
    HWND box = WaitForDialog("Install Error", process.Id(), kStartBoundMs);
    ASSERT_NE(box, nullptr);
    PressButton(box, IDOK);
    EXPECT_TRUE(process.WaitForExit(kExitBoundMs));
}

TEST_F(StartupTest, WindowsSevenGetsTheUpdatedVersionMessage) {
    const std::string folder = MakeScratchFolder("win7");
    const std::string copy = CopyProgram(folder, "quillmet-win7.exe");
    ASSERT_FALSE(copy.empty());
    // Wine reports another Windows version to one program named in AppDefaults.
    const char* appKey = "Software\\Wine\\AppDefaults\\quillmet-win7.exe";
    ASSERT_EQ(SHSetValueA(HKEY_CURRENT_USER, appKey, "Version", REG_SZ, "win7", 5), ERROR_SUCCESS);

    Process process;
    ASSERT_TRUE(process.Start(copy, "\"" + copy + "\""));
    HWND box = WaitForDialog("Updated Version Required", process.Id(), kStartBoundMs);
    SHDeleteKeyA(HKEY_CURRENT_USER, appKey);
    ASSERT_NE(box, nullptr);
    const std::string text = MessageBoxText(box);
    EXPECT_EQ(text.rfind("This version 1.05 of Quillmet will only work on Windows Vista", 0), 0u)
        << text;
    PressButton(box, IDOK);
    EXPECT_TRUE(process.WaitForExit(kExitBoundMs));
    EXPECT_TRUE(WaitFor([] { return OpenedPages().find("/kb/10015.html") != std::string::npos; },
                        kStartBoundMs))
        << "pages opened: " << OpenedPages();
    EXPECT_EQ(FindWindowA(MAKEINTATOM(0x8002), "Quillmet"), nullptr);
}

}  // namespace
}  // namespace e2e
