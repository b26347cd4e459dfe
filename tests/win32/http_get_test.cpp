// The HTTP client against a scripted server on 127.0.0.1, both uses behind real windows (the
// memory use inside RunWithProgress, the file use on a page that carries work), and the
// progress window's Cancel, owner and quit handling.
#include "net/http_get_win32.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/progress_dialog_win32.h"
#include "win32/support/file_bytes_win32.h"
#include "win32/support/loopback_server_win32.h"

namespace {

using namespace std::string_literals;
using Reply = LoopbackServer::Reply;
using End = LoopbackServer::End;

// Counts the pumps of a transfer and the longest time between two of them (and from the last
// one to the end).
class TimedOwner : public TransferOwner {
  public:
    explicit TimedOwner(TransferOwner& inner) : inner_(inner), last_(GetTickCount()) {}
    bool Pump() override {
        Note();
        return inner_.Pump();
    }
    void ShowProgress(double fraction) override { inner_.ShowProgress(fraction); }
    DWORD LongestGap() {
        Note();
        return longest_;
    }

  private:
    void Note() {
        const DWORD now = GetTickCount();
        longest_ = std::max<DWORD>(longest_, now - last_);
        last_ = now;
    }
    TransferOwner& inner_;
    DWORD last_;
    DWORD longest_ = 0;
};

// The update check's way: the memory use from the Run of a progress window.
class FetchToMemory : public ProgressDialog {
  public:
    explicit FetchToMemory(std::string url, HttpGetOptions options = {kVersionFileTimeLimitMs})
        : ProgressDialog("Fetch test"), url_(std::move(url)), options_(options) {}
    bool Run() override {
        ProgressDialogTransferOwner owner(*this);
        TimedOwner timed(owner);
        result = HttpGetToMemory(url_.c_str(), reply, timed, options_);
        longestGap = timed.LongestGap();
        return true;
    }
    int result = -1;
    char reply[kMemoryReplySize] = "untouched";
    DWORD longestGap = 0;

  private:
    std::string url_;
    HttpGetOptions options_;
};

// A page window that carries work, outside any sheet.
class WorkPage : public TimedWizardPage {
  public:
    WorkPage() {
        CreateDialogParamA(ProgramInstance(), "TESTWORKPAGE", nullptr, &DialogProcedure,
                           reinterpret_cast<LPARAM>(static_cast<DialogBase*>(this)));
    }
    ~WorkPage() override {
        if (window_ != nullptr) DestroyWindow(window_);
    }
    int BarPosition() const {
        return int(SendDlgItemMessageA(window_, kProgressBar, PBM_GETPOS, 0, 0));
    }
};

std::string TempFile() {
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + "qm-http-test.bin";
}

// Read in place of a file that does not exist.
const char* const kNoFile = "<none>";

struct Row {
    const char* what;
    Reply reply;
    int memoryResult;      // 0: the reply as sent (at most 511 bytes); else an empty buffer
    std::string fileBody;  // the file after the file use; "" when it must fail (2) with no file
    DWORD minMs = 0, maxMs = 2500;  // bounds of each use's time
    DWORD limitMs = 0;              // the transfers' time limit; 0: the build's
    std::string host = "127.0.0.1";
};

TEST(HttpGet, BothUsesAgainstAScriptedServer) {
    const std::string ok = "HTTP/1.0 200 OK\r\n";
    std::string endless = ok;
    while (endless.size() < 40000) endless += "X-Filler: 0123456789abcdef\r\n";
    // clang-format off
    const std::vector<Row> rows = {
        {"good", {ok + "Content-Length: 5\r\n\r\nhello"}, 0, "hello"},
        {"other case", {ok + "content-length:3\r\n\r\nabc"}, 0, "abc"},
        {"no length", {ok + "Server: t\r\n\r\nhello"}, 0, ""},
        {"404", {"HTTP/1.0 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found"}, 0, ""},
        {"301", {"HTTP/1.1 301 Moved\r\nLocation: /x\r\nContent-Length: 5\r\n\r\nmoved"}, 0, ""},
        {"garbage status", {"Hello there, no web server\r\nContent-Length: 5\r\n\r\nhello"}, 0, ""},
        {"huge length", {ok + "Content-Length: 99999999999\r\n\r\nhello"}, 0, ""},
        {"long header line",
         {ok + "X-Long: " + std::string(5000, 'a') + "\r\nContent-Length: 5\r\n\r\nhello"}, 0, "hello"},
        {"zero byte in header", {ok + "X: \0\r\nContent-Length: 5\r\n\r\nhello"s}, 0, ""},
        // The file use reads a header byte by byte: 16 KiB of them take seconds on a busy machine.
        {"endless header", {endless, End::kHold}, 0, "", 0, 15000},
        {"body longer", {ok + "Content-Length: 4\r\n\r\n0123456789"}, 0, "0123"},
        {"body shorter", {ok + "Content-Length: 50\r\n\r\n0123456789"}, 2, ""},
        {"reset", {"", End::kReset}, 2, ""},
        {"silent", {"", End::kHold}, 2, "", 4500, 7000},
        {"150 ms drip", {ok + "Content-Length: 13\r\n", "\r\n0123456789abc", 150}, 0, "0123456789abc",
         2000, 4500},
        // A reset after part of it would be the other cut, but Wine reports that as an orderly
        // close, so the time-out stands for both.
        {"silent after part, no length", {ok + "\r\nversion=1.13", End::kHold}, 2, "", 0, 7000},
        {"drip past the time limit", {ok + "Content-Length: 40\r\n\r\n", std::string(40, 'x'), 200},
         2, "", 1000, 1800, 1000},
        {"name looked up", {ok + "Content-Length: 5\r\n\r\nhello"}, 0, "hello", 0, 2500, 0, "localhost"},
    };
    // clang-format on
    LoopbackServer server;
    const std::string hostPart = ":" + std::to_string(server.Port());
    const std::string path = TempFile();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string sent = row.reply.now + row.reply.dripped;
        const std::string url = "http://" + row.host + hostPart + "/components/setup.exe";
        const HttpGetOptions memoryUse{row.limitMs ? row.limitMs : kVersionFileTimeLimitMs};
        const HttpGetOptions fileUse{row.limitMs ? row.limitMs : kDownloadTimeLimitMs};

        server.ServeOnce(row.reply);
        FetchToMemory fetch(url, memoryUse);
        DWORD start = GetTickCount();
        EXPECT_TRUE(RunWithProgress(fetch, nullptr));
        DWORD elapsed = GetTickCount() - start;
        EXPECT_TRUE(server.Finish());
        EXPECT_EQ(server.Request(), "GET /components/setup.exe HTTP/1.0\r\nHost: " + row.host +
                                        hostPart + "\r\n\r\n");
        EXPECT_EQ(fetch.result, row.memoryResult) << "memory";
        // The reply is read as text: up to its first zero byte.
        const std::string text = sent.substr(0, 511).c_str();
        EXPECT_EQ(fetch.reply, row.memoryResult == 0 ? text : "") << "memory";
        EXPECT_GE(elapsed, row.minMs) << "memory";
        EXPECT_LE(elapsed, row.maxMs) << "memory";
        EXPECT_LE(fetch.longestGap, 1000u) << "memory: longest time without a pump";

        server.ServeOnce(row.reply);
        WorkPage page;
        ASSERT_NE(page.Window(), nullptr);
        PageTransferOwner pageOwner(page);
        TimedOwner timed(pageOwner);
        start = GetTickCount();
        const int result = HttpGetToFile(url.c_str(), path.c_str(), timed, fileUse);
        elapsed = GetTickCount() - start;
        EXPECT_TRUE(server.Finish());
        EXPECT_EQ(result, row.fileBody.empty() ? 2 : 0) << "file";
        EXPECT_EQ(FileBytes(path, kNoFile), row.fileBody.empty() ? kNoFile : row.fileBody)
            << "file";
        if (!row.fileBody.empty()) {
            EXPECT_EQ(page.BarPosition(), 100) << "file";
        }
        EXPECT_GE(elapsed, row.minMs) << "file";
        EXPECT_LE(elapsed, row.maxMs) << "file";
        EXPECT_LE(timed.LongestGap(), 1000u) << "file: longest time without a pump";
    }
    DeleteFileA(path.c_str());
}

// Hosts and ports that name no server fail without connecting anywhere: not even to the
// server on this machine that 0.0.0.0 would reach.
TEST(HttpGet, FailuresBeforeAnyConnection) {
    LoopbackServer server;
    const std::string port = std::to_string(server.Port());
    const std::string path = TempFile();
    for (const std::string& host :
         {"no-such-host.invalid:" + port, "0.0.0.0:" + port,
          "127.0.0.1:" + std::to_string(server.Port() + 65536), "127.0.0.1:"s}) {
        const std::string address = "http://" + host + "/x";
        const char* url = address.c_str();
        FetchToMemory fetch(url);
        RunWithProgress(fetch, nullptr);
        EXPECT_EQ(fetch.result, 2) << url;
        WorkPage page;
        PageTransferOwner owner(page);
        EXPECT_EQ(HttpGetToFile(url, path.c_str(), owner), 2) << url;
        EXPECT_EQ(FileBytes(path, kNoFile), kNoFile) << url;
        EXPECT_FALSE(server.ConnectionWaiting()) << url;
    }
}

// A visible, enabled top-level window that owns the progress window.
class OwnerWindow {
  public:
    OwnerWindow() {
        window_ = CreateWindowA("STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300,
                                200, nullptr, nullptr, nullptr, nullptr);
    }
    ~OwnerWindow() { DestroyWindow(window_); }
    HWND Get() const { return window_; }

  private:
    HWND window_;
};

// What presses Cancel: a message the user's action becomes, posted to the progress window
// while the transfer pumps.
enum class Phase { kConnect, kReceive, kLookUp };
struct Press {
    const char* what;
    UINT message;
    WPARAM wParam;
    Phase phase;
    DWORD boundMs = 1000;  // from the press to the end of the transfer
};
const Press* pending = nullptr;
DWORD pressedAt = 0;
std::string captionSeen;

void CALLBACK PressCancel(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND progress = FindWindowA("#32770", "Fetch test");
    char caption[64] = {};
    GetWindowTextA(progress, caption, sizeof caption);
    captionSeen = caption;
    pressedAt = GetTickCount();
    PostMessageA(progress, pending->message, pending->wParam, 0);
}

// A name look-up that hangs (for longer than the cancel takes), then finds nothing.
bool HangingLookUp(const char*, std::uint32_t&) {
    Sleep(3000);
    return false;
}

TEST(ProgressWindow, CancelStopsWithinASecondAndGivesTheOwnerBack) {
    LoopbackServer fullServer(true);
    ASSERT_TRUE(fullServer.ConnectStaysPending()) << "the cancel must fall in the connect";
    LoopbackServer server;
    const Press presses[] = {
        {"Cancel button", WM_COMMAND, IDCANCEL, Phase::kConnect},
        {"Esc", WM_KEYDOWN, VK_ESCAPE, Phase::kConnect},
        {"close box", WM_SYSCOMMAND, SC_CLOSE, Phase::kConnect},
        {"Cancel after part of the reply", WM_COMMAND, IDCANCEL, Phase::kReceive},
        {"Cancel during a name look-up that hangs", WM_COMMAND, IDCANCEL, Phase::kLookUp, 300}};
    for (const Press& press : presses) {
        if (press.phase == Phase::kReceive) {
            server.ServeOnce({"HTTP/1.0 200 OK\r\nContent-Length: 99\r\n\r\npart", End::kHold});
        }
        OwnerWindow owner;
        const bool lookUp = press.phase == Phase::kLookUp;
        FetchToMemory fetch(
            lookUp ? "http://hangs.invalid/slow"
                   : (press.phase == Phase::kReceive ? server : fullServer).Url("/slow"),
            {kVersionFileTimeLimitMs, lookUp ? &HangingLookUp : &SystemHostLookup});
        pending = &press;
        pressedAt = 0;
        SetTimer(nullptr, 0, 300, &PressCancel);
        EXPECT_TRUE(RunWithProgress(fetch, owner.Get()));
        const DWORD afterPress = GetTickCount() - pressedAt;
        EXPECT_NE(pressedAt, 0u) << press.what;
        EXPECT_EQ(fetch.result, 1) << press.what;
        EXPECT_LE(afterPress, press.boundMs) << press.what;
        EXPECT_EQ(captionSeen, "Fetch test") << press.what;
        EXPECT_EQ(fetch.Window(), nullptr) << press.what;
        EXPECT_TRUE(IsWindowEnabled(owner.Get())) << press.what;
        EXPECT_EQ(GetActiveWindow(), owner.Get()) << press.what;
        EXPECT_EQ(GetFocus(), owner.Get()) << press.what;
        EXPECT_TRUE(server.Finish());
    }
}

// Work given as a function, for the checks of the window itself.
class Work : public ProgressDialog {
  public:
    explicit Work(bool (*run)(Work&)) : ProgressDialog("Work"), run_(run) {}
    bool Run() override { return run_(*this); }

  private:
    bool (*run_)(Work&);
};

TEST(ProgressWindow, OwnerStateQuitAndWindowGoneOtherwise) {
    OwnerWindow owner;
    EnableWindow(owner.Get(), FALSE);
    Work quick([](Work& self) { return RunWithProgress(self, nullptr) == false; });
    EXPECT_TRUE(RunWithProgress(quick, owner.Get())) << "an object with a window is refused";
    EXPECT_FALSE(IsWindowEnabled(owner.Get())) << "an owner disabled before stays disabled";

    Work quits([](Work& self) {
        PostQuitMessage(7);
        return PumpMessages(self) && IsWindow(self.Window());
    });
    EXPECT_TRUE(RunWithProgress(quits, nullptr)) << "the quit makes the pump say stop";
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u) << "the quit survives the pump";

    Work destroyed([](Work& self) {
        DestroyWindow(self.Window());
        return self.Window() == nullptr && PumpMessages(self);
    });
    EXPECT_TRUE(RunWithProgress(destroyed, nullptr)) << "a window destroyed otherwise";
}

TEST(ProgressWindow, PagePumpStopsOnQuitAndOnceThePageIsLeft) {
    WorkPage page;
    EXPECT_FALSE(PumpPageMessages(page));
    PostQuitMessage(3);
    EXPECT_TRUE(PumpPageMessages(page)) << "quit";
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "quit kept";
    PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
    page.OnPageDeactivate();
    EXPECT_TRUE(PumpPageMessages(page)) << "page left";
    EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_APP, WM_APP, PM_REMOVE))
        << "a page that was left takes no message";
}

}  // namespace
