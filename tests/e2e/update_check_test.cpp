// The update check and the related-programs reminder of the real program, run by showing the
// main window again. The loopback build fetches its version file from 127.0.0.1 on
// QM_E2E_VERSION_PORT, where this driver answers with scripted replies.
#include <windows.h>
#include <commctrl.h>

#include <ctime>
#include <memory>

#include "app/main_window_win32.h"
#include "resource_ids.h"
#include "support/running_program.h"
#include "win32/support/loopback_server_win32.h"

namespace e2e {
namespace {

constexpr DWORD kBoundMs = 20000;
constexpr u_short kPort = QM_E2E_VERSION_PORT;
const char kPage[] = "http://127.0.0.1/quillmet-1.13.html";

std::string Machine(const char* name) { return ReadSetting(HKEY_LOCAL_MACHINE, "Settings", name); }
void SetMachine(const char* name, const std::string& text) {
    WriteSetting("Settings", name, text.c_str(), HKEY_LOCAL_MACHINE);
}
// A stored time a minute more than this many seconds ago.
std::string Ago(long long seconds) { return std::to_string(std::time(nullptr) - seconds - 60); }

// A show request (or tray click) sent from a thread of the driver: Done tells when the program
// has handled it, checks, questions and wizards included.
class ShowRequest {
  public:
    explicit ShowRequest(HWND window, UINT message = kShowRequestMessage, LPARAM lParam = 0)
        : window_(window), message_(message), lParam_(lParam) {
        thread_ = CreateThread(nullptr, 0, &Send, this, 0, nullptr);
    }
    ~ShowRequest() {
        Done(kBoundMs);
        CloseHandle(thread_);
    }
    bool Done(DWORD boundMs) { return WaitForSingleObject(thread_, boundMs) == WAIT_OBJECT_0; }

  private:
    static DWORD WINAPI Send(void* self) {
        auto* r = static_cast<ShowRequest*>(self);
        DWORD_PTR result = 0;
        SendMessageTimeoutA(r->window_, r->message_, 0, r->lParam_, 0, 2 * kBoundMs, &result);
        return 0;
    }
    HWND window_;
    UINT message_;
    LPARAM lParam_;
    HANDLE thread_;
};

class UpdateCheckTest : public testing::Test {
  protected:
    // One server for the whole program: the fixed port is taken once.
    static void SetUpTestSuite() { server_ = new LoopbackServer(false, kPort); }
    static void TearDownTestSuite() { delete server_; }
    void SetUp() override {
        ASSERT_TRUE(server_->Listening()) << "port " << kPort << " is taken by another program";
        DeleteProductSettings();
        ForgetOpenedPages();
        program_ = std::make_unique<RunningProgram>();
        window_ = program_->window();
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        program_.reset();
        DeleteProductSettings();
    }

    // Makes the check due, serves reply and shows the main window.
    std::unique_ptr<ShowRequest> DueCheck(const LoopbackServer::Reply& reply) {
        SetMachine("VCheckDate", Ago(7776000));
        server_->ServeOnce(reply);
        return std::make_unique<ShowRequest>(window_);
    }
    HWND Find(const char* title) {
        return WaitForDialog(title, program_->process().Id(), kBoundMs);
    }
    bool Ended() { return program_->process().WaitForExit(kBoundMs); }

    static LoopbackServer* server_;
    std::unique_ptr<RunningProgram> program_;
    HWND window_ = nullptr;
};
LoopbackServer* UpdateCheckTest::server_ = nullptr;

TEST_F(UpdateCheckTest, FirstShowNoYesAndATrayClickUnderADialog) {
    ASSERT_TRUE(ShowRequest(window_).Done(kBoundMs));
    EXPECT_NE(Machine("RelatedPDate"), "");
    EXPECT_NE(Machine("VCheckDate"), "");
    EXPECT_FALSE(server_->ConnectionWaiting()) << "the first show fetched the version file";

    SetMachine("RelatedPCheck", "1");
    SetMachine("LastCheckVersion", "112");
    for (int answer : {IDNO, IDYES}) {
        auto show = DueCheck(
            "HTTP/1.0 200 OK\r\nServer: t\r\n\r\nversion=1.13&info=" + std::string(kPage) + "&");
        HWND box = Find("Update Version Available");
        ASSERT_NE(box, nullptr) << "1.13 was not offered over 1.12";
        EXPECT_EQ(MessageBoxText(box),
                  "An updated version of this software is now available for download online. Do "
                  "you want to see more information about the new version?");
        EXPECT_GT(Machine("VCheckDate"), Ago(60)) << "the date is stored before the fetch";
        PressButton(box, answer);
        ASSERT_TRUE(show->Done(kBoundMs));
        ASSERT_TRUE(server_->Finish());
        EXPECT_EQ(server_->Request(), "GET /versions/quillmet.txt HTTP/1.0\r\nHost: 127.0.0.1:" +
                                          std::to_string(kPort) + "\r\n\r\n");
        EXPECT_EQ(Machine("LastCheckVersion"), answer == IDNO ? "112" : "113");
    }
    EXPECT_TRUE(WaitFor([] { return OpenedPages() == std::string(kPage) + "\n"; }, kBoundMs))
        << "pages opened: " << OpenedPages();

    // A tray click under the invoice dialog: no check, and the main window stays disabled.
    const std::string dueDate = Ago(7776000);
    SetMachine("VCheckDate", dueDate);
    PostMessageA(window_, WM_COMMAND, IDCMD_ADD_TO_INVOICE, 0);
    HWND dialog = Find("Create or Add to TSV File");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(ShowRequest(window_, kTrayCallbackMessage, WM_LBUTTONUP).Done(kBoundMs));
    EXPECT_FALSE(server_->ConnectionWaiting()) << "checked under the invoice dialog";
    EXPECT_EQ(Machine("VCheckDate"), dueDate);
    EXPECT_FALSE(IsWindowEnabled(window_));
    PressButton(dialog, IDCANCEL);
}

TEST_F(UpdateCheckTest, RepliesWithoutOfferSlowReplyCancelAndCloseDuringTheFetch) {
    SetMachine("RelatedPCheck", "1");
    for (const char* reply : {"HTTP/1.0 404 Not Found\r\n\r\nversion=9.99&info=http://h/&",
                              "<html>version=9.99&info=http://h/&\r\n\r\nversion=9.99&",
                              "HTTP/1.0 200 OK\r\nSet-Cookie: version=9.99\r\n\r\nnothing new"}) {
        EXPECT_TRUE(DueCheck(std::string(reply))->Done(kBoundMs)) << "asked after " << reply;
        EXPECT_TRUE(server_->Finish() && !server_->Request().empty()) << "not fetched: " << reply;
        if (HWND box = WaitForDialog("Update Version Available", 0, 0)) PressButton(box, IDNO);
    }
    // A program name as the address: Yes opens nothing and stores nothing.
    auto show = DueCheck(std::string("HTTP/1.0 200 OK\r\n\r\nversion=9.99&info=winver&"));
    HWND box = Find("Update Version Available");
    ASSERT_NE(box, nullptr);
    PressButton(box, IDYES);
    ASSERT_TRUE(show->Done(kBoundMs));
    EXPECT_EQ(Machine("LastCheckVersion"), "");

    // A slow reply without a length: the progress window answers within 1 s, and Cancel ends the
    // check with no question, although what had arrived names a newer version.
    show = DueCheck(
        {"HTTP/1.0 200 OK\r\n\r\nversion=9.99&info=http://h/&", std::string(60, ' '), 200});
    HWND progress = Find("Checking for Updates");
    ASSERT_NE(progress, nullptr);
    for (int probe = 0; probe < 5; ++probe, Sleep(150)) {
        DWORD_PTR result = 0;
        EXPECT_NE(SendMessageTimeoutA(progress, WM_NULL, 0, 0, 0, 1000, &result), 0) << "hung";
    }
    PressButton(progress, IDCANCEL);
    EXPECT_TRUE(show->Done(kBoundMs)) << "a question came after Cancel";
    EXPECT_TRUE(IsWindowEnabled(window_));
    EXPECT_TRUE(server_->Finish());
    EXPECT_EQ(OpenedPages(), "");

    // A close request while the program waits for the reply ends it.
    show = DueCheck({"", LoopbackServer::End::kHold});
    ASSERT_NE(Find("Checking for Updates"), nullptr);
    PostMessageA(window_, kCloseRequestMessage, 0, 0);
    EXPECT_TRUE(Ended()) << "still running after the request";
}

TEST_F(UpdateCheckTest, ReminderOnceOverTheMainWindowWhichStillGetsSecondStarts) {
    SetMachine("RelatedPDate", Ago(3888000));
    const std::string dueDate = Ago(7776000);
    SetMachine("VCheckDate", dueDate);
    auto show = std::make_unique<ShowRequest>(window_);
    // The wizard, also a dialog titled "Quillmet", is owned by the main window.
    HWND sheet = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            for (HWND w = nullptr;
                 (w = FindWindowExA(nullptr, w, MAKEINTATOM(0x8002), "Quillmet"));)
                if (GetWindow(w, GW_OWNER) == window_) sheet = w;
            return sheet != nullptr;
        },
        kBoundMs))
        << "no reminder";
    EXPECT_EQ(Machine("RelatedPCheck"), "1");
    EXPECT_NE(GetDlgItem(PropSheet_GetCurrentPageHwnd(sheet), 101), nullptr) << "not the list";
    EXPECT_FALSE(IsWindowEnabled(window_));

    // A second start shows the main window, and no check runs under the wizard.
    ShowWindow(window_, SW_HIDE);
    Process second;
    ASSERT_TRUE(second.Start(ProgramPath(), "\"" + ProgramPath() + "\""));
    EXPECT_TRUE(second.WaitForExit(kBoundMs));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(window_) != FALSE; }, kBoundMs));
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window_, WM_NULL, 0, 0, 0, kBoundMs, &result);
    EXPECT_EQ(Machine("VCheckDate"), dueDate);
    EXPECT_FALSE(server_->ConnectionWaiting()) << "checked under the reminder";

    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    ASSERT_TRUE(show->Done(kBoundMs));
    EXPECT_TRUE(IsWindowEnabled(window_));
    SetMachine("VCheckDate", Ago(0));
    ASSERT_TRUE(ShowRequest(window_).Done(kBoundMs)) << "the reminder came again";

    // With the reminder open (made due again), a close request still ends the program.
    SetMachine("RelatedPCheck", "0");
    show = std::make_unique<ShowRequest>(window_);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(window_); }, kBoundMs));
    PostMessageA(window_, kCloseRequestMessage, 0, 0);
    EXPECT_TRUE(Ended());
}

}  // namespace
}  // namespace e2e
