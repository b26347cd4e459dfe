// The installer's timed pages inside the test program: Cancel stops work under way, and
// install-on-demand downloads a set-up from a local server (after the download host fails)
// and starts it quietly, by its own name, when it is a whole set-up file of ours.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>

#include "setup/install_on_demand_win32.h"
#include "setup/install_payload.h"
#include "setup/run_mode.h"
#include "support/dialog_dismisser_win32.h"
#include "support/file_bytes_win32.h"
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

std::string TempPath(const char* name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + name;
}

// The started set-up runs on its own: wait (bounded) for what it writes.
bool WaitForFile(const std::string& path) {
    for (int i = 0; i < 500; ++i) {
        if (!FileBytes(path).empty()) return true;
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

TEST(InstallOnDemandTest, StartsOnlyAWholeSetUpOfOursByItsOwnNameAndQuietly) {
    const char* recorder = std::getenv("QM_RECORDER_EXE");
    ASSERT_NE(recorder, nullptr);
    const std::string program = FileBytes(recorder), temp = TempPath("");
    ASSERT_FALSE(program.empty());
    // Started unquoted, "<temp>\qm dir\qmrelated.exe" would run "<temp>\qm.exe".
    const std::string blank = temp + "qm dir\\";
    CreateDirectoryA(blank.c_str(), nullptr);
    std::ofstream(temp + "qm.exe", std::ios::binary) << program;
    const auto* bytes = reinterpret_cast<const unsigned char*>(program.data());
    const std::string setup =
        program + FormatInstallTrailer({{std::int32_t(program.size()), 0, 0},
                                        AddToChecksum(0, bytes, program.size()),
                                        kSetupMarker});
    std::string flipped = setup;
    flipped[flipped.find("This program")] ^= 0x01;
    const char kDamaged[] = "The downloaded file is damaged; please try again later.";
    const struct {
        std::string tmp, served;  // nothing served: nothing may be fetched
        int result;
        const char* message;
    } rows[] = {
        {blank, setup, 0, ""},
        {blank, program, kInstallReported, kDamaged},
        {blank, flipped, kInstallReported, kDamaged},
        {std::string(300, 't'), "", kInstallReported, "The temporary folder cannot be used"}};
    for (const auto& row : rows) {
        SetEnvironmentVariableA("TMP", row.tmp.c_str());
        const std::string file = row.tmp + "qmrelated.exe",
                          recorded = row.tmp + "qm-lquiet-recorded.txt";
        DeleteFileA(recorded.c_str());
        LoopbackServer server;
        if (!row.served.empty())
            server.ServeOnce({"HTTP/1.0 200 OK\r\nContent-Length: " +
                              std::to_string(row.served.size()) + "\r\n\r\n" + row.served});
        const std::string fallback = "127.0.0.1:" + std::to_string(server.Port());
        DialogDismisser box("Error");
        int result = -1;
        WorkPage page([&](WorkPage& self) {
            // Port 1 on this machine refuses: the download host fails and the fallback is tried.
            result = InstallOnDemand(self, "qmrelated", "127.0.0.1:1", fallback.c_str());
            PressWizardButton(self, PSBTN_FINISH);
        });
        MessageScript script;
        RunWizard(page, script);
        box.Finish();
        EXPECT_EQ(result, row.result) << row.served.size();
        EXPECT_EQ(box.Text().substr(0, std::strlen(row.message)), row.message);
        EXPECT_EQ(GetEnvironmentVariableA("LQUIET", nullptr, 0), 0u) << "LQUIET was left set";
        EXPECT_EQ(server.ConnectionWaiting() ||
                      (server.Finish() && server.Request().rfind("GET /components/qmrelated.exe "
                                                                 "HTTP/1.0\r\n",
                                                                 0) == 0),
                  !row.served.empty());
        EXPECT_EQ(row.result != 0 || WaitForFile(recorded), true);
        EXPECT_EQ(FileBytes(recorded),
                  row.result == 0 ? "1\n" + file + "\n\"" + file + "\" -quiet" : "");
        EXPECT_EQ(row.result == 0 || GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES,
                  true)
            << "the damaged download was kept";
    }
    SetEnvironmentVariableA("TMP", nullptr);
    for (const std::string& name :
         {blank + "qmrelated.exe", blank + "qm-lquiet-recorded.txt", temp + "qm.exe"})
        DeleteFileA(name.c_str());
    RemoveDirectoryA(blank.c_str());
}

}  // namespace
