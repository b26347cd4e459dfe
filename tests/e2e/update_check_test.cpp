// The update check and the related-programs reminder in the real program, as they run when the
// main window is shown again. The loopback build fetches its version file from 127.0.0.1 on
// QM_E2E_VERSION_PORT, where this driver answers with scripted replies.
#include <windows.h>
#include <commctrl.h>

#include <ctime>
#include <memory>
#include <string>

#include "app/main_window_win32.h"
#include "resource_ids.h"
#include "support/running_program.h"
#include "win32/support/loopback_server_win32.h"

namespace e2e {
namespace {

constexpr DWORD kBoundMs = 20000;
constexpr u_short kPort = QM_E2E_VERSION_PORT;
const char kQuestion[] =
    "An updated version of this software is now available for download online. Do you want to "
    "see more information about the new version?";
const char kPage[] = "http://127.0.0.1/quillmet-1.13.html";

std::string MachineValue(const char* name) {
    return ReadSetting(HKEY_LOCAL_MACHINE, "Settings", name);
}
void SetMachineValue(const char* name, const std::string& text) {
    WriteSetting("Settings", name, text.c_str(), HKEY_LOCAL_MACHINE);
}
// A stored time this many seconds (and a minute more) before now.
std::string Ago(long long seconds) {
    return std::to_string(static_cast<long long>(std::time(nullptr)) - seconds - 60);
}
void MakeCheckDue() { SetMachineValue("VCheckDate", Ago(7776000)); }

// The show request of a second start, sent from a thread of the driver: Done tells when the
// program has finished handling it (checks, questions and wizards included).
class ShowRequest {
  public:
    explicit ShowRequest(HWND window, UINT message = kShowRequestMessage, LPARAM lParam = 0)
        : window_(window), message_(message), lParam_(lParam) {
        thread_ = CreateThread(nullptr, 0, &ShowRequest::Send, this, 0, nullptr);
    }
    ~ShowRequest() {
        Done(kBoundMs);
        CloseHandle(thread_);
    }
    bool Done(DWORD boundMs) { return WaitForSingleObject(thread_, boundMs) == WAIT_OBJECT_0; }

  private:
    static DWORD WINAPI Send(void* parameter) {
        auto* self = static_cast<ShowRequest*>(parameter);
        DWORD_PTR result = 0;
        SendMessageTimeoutA(self->window_, self->message_, 0, self->lParam_, SMTO_NORMAL,
                            2 * kBoundMs, &result);
        return 0;
    }
    HWND window_;
    UINT message_;
    LPARAM lParam_;
    HANDLE thread_;
};

// The reminder: a wizard sheet owned by the main window.
struct ReminderSearch {
    HWND owner, found;
};
BOOL CALLBACK MatchReminder(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<ReminderSearch*>(context);
    if (GetWindow(window, GW_OWNER) != search->owner || !IsWindowVisible(window) ||
        PropSheet_GetCurrentPageHwnd(window) == nullptr) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}
HWND FindReminder(HWND mainWindow) {
    ReminderSearch search{mainWindow, nullptr};
    WaitFor(
        [&] {
            EnumWindows(&MatchReminder, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        kBoundMs);
    return search.found;
}

class UpdateCheckTest : public testing::Test {
  protected:
    // One server for the whole program: the fixed port is taken once.
    static void SetUpTestSuite() { server_ = new LoopbackServer(false, kPort); }
    static void TearDownTestSuite() { delete server_; }
    void SetUp() override {
        ASSERT_TRUE(server_->Listening()) << "port " << kPort << " is taken by another program";
        DeleteProductSettings();
        ForgetOpenedPages();
    }
    void TearDown() override {
        server_->Finish();
        DeleteProductSettings();
    }

    // Serves reply to a due check started by a show request.
    static std::unique_ptr<ShowRequest> DueCheck(RunningProgram& program,
                                                 const std::string& reply) {
        MakeCheckDue();
        server_->ServeOnce(reply);
        return std::make_unique<ShowRequest>(program.window());
    }
    static HWND Question(RunningProgram& program) {
        return WaitForDialog("Update Version Available", program.process().Id(), kBoundMs);
    }

    static LoopbackServer* server_;
};
LoopbackServer* UpdateCheckTest::server_ = nullptr;

TEST_F(UpdateCheckTest, FirstShowThenOffersNoAndYesThenNothingUnderADialog) {
    RunningProgram program;
    ASSERT_NE(program.window(), nullptr);
    ASSERT_TRUE(ShowRequest(program.window()).Done(kBoundMs));
    EXPECT_NE(MachineValue("RelatedPDate"), "");
    EXPECT_NE(MachineValue("VCheckDate"), "");
    EXPECT_FALSE(server_->ConnectionWaiting()) << "the first show fetched the version file";

    // 1.13 over 1.12: offered. No stores nothing; Yes opens the page and stores 113.
    SetMachineValue("RelatedPCheck", "1");
    SetMachineValue("LastCheckVersion", "112");
    const std::string reply =
        "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nversion=1.13&info=" +
        std::string(kPage) + "&";
    for (int answer : {IDNO, IDYES}) {
        const std::string dueDate = Ago(7776000);
        auto show = DueCheck(program, reply);
        HWND box = Question(program);
        ASSERT_NE(box, nullptr) << "no question";
        EXPECT_EQ(MessageBoxText(box), kQuestion);
        EXPECT_NE(GetDlgItem(box, IDCANCEL), nullptr);
        EXPECT_GT(MachineValue("VCheckDate"), dueDate) << "the date is stored before the fetch";
        PressButton(box, answer);
        ASSERT_TRUE(show->Done(kBoundMs));
        ASSERT_TRUE(server_->Finish());
        EXPECT_EQ(server_->Request(), "GET /versions/quillmet.txt HTTP/1.0\r\nHost: 127.0.0.1:" +
                                          std::to_string(kPort) + "\r\n\r\n");
    }
    EXPECT_TRUE(WaitFor([] { return OpenedPages() == std::string(kPage) + "\n"; }, kBoundMs))
        << "pages opened: " << OpenedPages();
    EXPECT_EQ(MachineValue("LastCheckVersion"), "113");

    // A tray click under the invoice dialog: no check, and the main window stays disabled.
    MakeCheckDue();
    const std::string dueDate = MachineValue("VCheckDate");
    PostMessageA(program.window(), WM_COMMAND, IDCMD_ADD_TO_INVOICE, 0);
    HWND dialog = WaitForDialog("Create or Add to TSV File", program.process().Id(), kBoundMs);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(ShowRequest(program.window(), kTrayCallbackMessage, WM_LBUTTONUP).Done(kBoundMs));
    EXPECT_FALSE(server_->ConnectionWaiting()) << "checked under the invoice dialog";
    EXPECT_EQ(MachineValue("VCheckDate"), dueDate);
    EXPECT_FALSE(IsWindowEnabled(program.window()));
    PressButton(dialog, IDCANCEL);
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(program.window()) != FALSE; }, kBoundMs));
}

TEST_F(UpdateCheckTest, RepliesThatOfferNothingCancelAndCloseDuringTheFetch) {
    SetMachineValue("RelatedPCheck", "1");
    RunningProgram program;
    ASSERT_NE(program.window(), nullptr);
    const char* replies[] = {
        "HTTP/1.0 404 Not Found\r\n\r\nversion=9.99&info=http://127.0.0.1/404&",
        "<html>version=9.99&info=http://127.0.0.1/portal&</html>\r\n\r\nversion=9.99&",
        "HTTP/1.0 200 OK\r\nSet-Cookie: version=9.99\r\n\r\nnothing new",
        "HTTP/1.0 200 OK\r\nContent-Length: 40\r\n\r\nversion=9.99&",
    };
    for (const char* reply : replies) {
        auto show = DueCheck(program, reply);
        EXPECT_TRUE(show->Done(kBoundMs)) << "asked after " << reply;
        if (HWND box = WaitForDialog("Update Version Available", 0, 0)) PressButton(box, IDNO);
        EXPECT_TRUE(server_->Finish() && !server_->Request().empty()) << "not fetched: " << reply;
    }

    // A program name as the address: Yes opens nothing and stores nothing.
    auto show = DueCheck(program, "HTTP/1.0 200 OK\r\n\r\nversion=9.99&info=winver&");
    HWND box = Question(program);
    ASSERT_NE(box, nullptr);
    PressButton(box, IDYES);
    ASSERT_TRUE(show->Done(kBoundMs));
    EXPECT_EQ(MachineValue("LastCheckVersion"), "");

    // A slow reply: the progress window answers within 1 s, and Cancel ends the check with no
    // question, although what had arrived names a newer version.
    MakeCheckDue();
    server_->ServeOnce({"HTTP/1.0 200 OK\r\n\r\nversion=9.99&info=http://127.0.0.1/slow&",
                        std::string(60, ' '), 200});
    show.reset(new ShowRequest(program.window()));
    HWND progress = WaitForDialog("Checking for Updates", program.process().Id(), kBoundMs);
    ASSERT_NE(progress, nullptr);
    for (int probe = 0; probe < 5; ++probe) {
        DWORD_PTR result = 0;
        EXPECT_NE(SendMessageTimeoutA(progress, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result), 0)
            << "no answer within 1 s";
        Sleep(150);
    }
    PressButton(progress, IDCANCEL);
    EXPECT_TRUE(show->Done(kBoundMs)) << "a question came after Cancel";
    EXPECT_TRUE(IsWindowEnabled(program.window()));
    EXPECT_TRUE(server_->Finish());
    EXPECT_EQ(OpenedPages(), "");

    // A close request while the program waits for the reply ends it.
    MakeCheckDue();
    server_->ServeOnce({"", LoopbackServer::End::kHold});
    show.reset(new ShowRequest(program.window()));
    ASSERT_NE(WaitForDialog("Checking for Updates", program.process().Id(), kBoundMs), nullptr);
    PostMessageA(program.window(), kCloseRequestMessage, 0, 0);
    EXPECT_TRUE(program.process().WaitForExit(kBoundMs)) << "still running after the request";
}

TEST_F(UpdateCheckTest, ReminderOnceOverAnEnabledMainWindowAndSecondStartsReachTheMainWindow) {
    SetMachineValue("RelatedPDate", Ago(3888000));
    const std::string dueDate = Ago(7776000);
    SetMachineValue("VCheckDate", dueDate);
    RunningProgram program;
    ASSERT_NE(program.window(), nullptr);
    auto show = std::make_unique<ShowRequest>(program.window());
    HWND sheet = FindReminder(program.window());
    ASSERT_NE(sheet, nullptr) << "no reminder";
    EXPECT_EQ(MachineValue("RelatedPCheck"), "1");
    EXPECT_NE(GetDlgItem(PropSheet_GetCurrentPageHwnd(sheet), 101), nullptr) << "not the list";
    EXPECT_FALSE(IsWindowEnabled(program.window()));

    // A second start shows the main window, and no check runs under the wizard.
    ShowWindow(program.window(), SW_HIDE);
    Process second;
    ASSERT_TRUE(second.Start(ProgramPath(), "\"" + ProgramPath() + "\""));
    EXPECT_TRUE(second.WaitForExit(kBoundMs));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(program.window()) != FALSE; }, kBoundMs));
    DWORD_PTR result = 0;
    SendMessageTimeoutA(program.window(), WM_NULL, 0, 0, SMTO_NORMAL, kBoundMs, &result);
    EXPECT_EQ(MachineValue("VCheckDate"), dueDate);
    EXPECT_FALSE(server_->ConnectionWaiting()) << "checked under the reminder";
    EXPECT_NE(GetDlgItem(PropSheet_GetCurrentPageHwnd(sheet), 101), nullptr) << "page lost";

    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    ASSERT_TRUE(show->Done(kBoundMs));
    EXPECT_TRUE(IsWindowEnabled(program.window()));
    SetMachineValue("VCheckDate", Ago(0));
    ASSERT_TRUE(ShowRequest(program.window()).Done(kBoundMs)) << "the reminder came again";

    // With the reminder open again, a set-up file's close request ends the running copy.
    SetMachineValue("RelatedPCheck", "0");
    show = std::make_unique<ShowRequest>(program.window());
    ASSERT_NE(FindReminder(program.window()), nullptr);
    const std::string folder = MakeScratchFolder("update-setup");
    const unsigned char setupMarker[4] = {0xF0, 0xF0, 0x0F, 0x0F};
    const std::string setup =
        CopyProgram(folder, "quillmet-setup.exe", setupMarker, sizeof setupMarker);
    Process installer;
    ASSERT_TRUE(installer.Start(setup, "\"" + setup + "\""));
    EXPECT_TRUE(program.process().WaitForExit(kBoundMs)) << "the running copy was not closed";
    installer.Kill();
}

}  // namespace
}  // namespace e2e
