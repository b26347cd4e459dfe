// The installer's timed pages inside the test program: Cancel stops work under way, and
// install-on-demand downloads a set-up from a local server (after the download host fails)
// and starts it quietly.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "setup/related_pages_win32.h"
#include "support/loopback_server_win32.h"
#include "support/message_script.h"
#include "ui/progress_dialog_win32.h"

namespace {

class WorkPage : public TimedWizardPage {
  public:
    explicit WorkPage(std::function<void(WorkPage&)> work) : work_(std::move(work)) {}
    void OnDeferredWork() override { work_(*this); }

  private:
    std::function<void(WorkPage&)> work_;
};

// Runs a one-page wizard (Finish) around the page, with the script inside its loop.
void RunWizard(WorkPage& page, MessageScript& script) {
    PropertySheetPages pages;
    pages.Add(page, "LInstallingDlg", PSP_DEFAULT, "Installing", "Test");
    page.SetFlags(PSWIZB_FINISH);
    PROPSHEETHEADERA header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_WIZARD97 | PSH_HEADER;
    header.hInstance = ProgramInstance();
    header.pszCaption = "";
    pages.AttachTo(header);
    script.Start();
    PropertySheetA(&header);
    script.Stop();
    EXPECT_TRUE(script.Completed());
}

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string TempPath(const char* name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + name;
}

// The started set-up runs on its own: wait (bounded) for what it writes.
bool WaitForFile(const std::string& path) {
    for (int i = 0; i < 500; ++i) {
        if (!FileText(path).empty()) return true;
        Sleep(20);
    }
    return false;
}

TEST(TimedPageTest, CancelStopsTheWorkAtItsNextPump) {
    int passes = 0;
    bool stopped = false;
    WorkPage page([&](WorkPage& self) {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 10000) {
            ++passes;
            if (PumpPageMessages(self)) {
                stopped = true;
                return;
            }
            Sleep(10);
        }
    });
    MessageScript script;
    script.WaitFor("the work to run", [&] { return passes > 5; }).Do([&] {
        PostMessageA(GetParent(page.Window()), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
    const DWORD start = GetTickCount();
    RunWizard(page, script);
    EXPECT_TRUE(stopped) << "the work ran to its end behind a cancelled wizard";
    EXPECT_LT(GetTickCount() - start, 5000u);
}

TEST(InstallOnDemandTest, FallsBackOnceAndStartsTheSetUpQuietly) {
    const char* recorder = std::getenv("QM_RECORDER_EXE");
    ASSERT_NE(recorder, nullptr);
    std::string program = FileText(recorder);
    ASSERT_FALSE(program.empty());
    const std::string recorded = TempPath("qm-lquiet-recorded.txt");
    DeleteFileA(recorded.c_str());
    SetEnvironmentVariableA("LQUIET", nullptr);

    LoopbackServer server;
    server.ServeOnce({"HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(program.size()) +
                      "\r\n\r\n" + program});
    const std::string fallback = "127.0.0.1:" + std::to_string(server.Port());
    int result = -1;
    WorkPage page([&](WorkPage& self) {
        // Port 1 on this machine refuses: the download host fails and the fallback is tried.
        result = InstallOnDemand(self, "qmrelated", "127.0.0.1:1", fallback.c_str());
        PressWizardButton(self, PSBTN_FINISH);
    });
    MessageScript script;
    RunWizard(page, script);

    EXPECT_EQ(result, 0);
    EXPECT_TRUE(server.Finish());
    EXPECT_EQ(server.Request().rfind("GET /components/qmrelated.exe HTTP/1.0\r\n", 0), 0u)
        << server.Request();
    char value[8];
    EXPECT_EQ(GetEnvironmentVariableA("LQUIET", value, sizeof value), 0u)
        << "LQUIET was left set in the wizard's process";
    EXPECT_TRUE(WaitForFile(recorded));
    EXPECT_EQ(FileText(recorded), "1");
    DeleteFileA(TempPath("qmrelated.exe").c_str());
}

}  // namespace
