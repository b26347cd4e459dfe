#include <winsock2.h>

#include "net/http_get_win32.h"

#include <algorithm>

#include "base/file_handle_win32.h"

namespace {

// Time budgets (ms): each wait is a select of one step; a budget used up fails the transfer.
constexpr int kConnectStepMs = 200;
constexpr int kConnectBudgetMs = 5000;
constexpr int kSendStepMs = 200;
constexpr int kSendBudgetMs = 5000;
constexpr int kReceiveStepMs = 200;
constexpr int kMemoryReceiveBudgetMs = 5000;
constexpr int kBodyReceiveBudgetMs = 7500;
constexpr int kHeaderStepMs = 300;
constexpr int kHeaderBudgetMs = 5000;
constexpr DWORD kLookupStepMs = 100;
constexpr std::size_t kSendPiece = 1024;

enum class Wait { kReady, kTimeOut, kError };

// What every wait of one transfer checks: the owner's pump and the transfer's time limit,
// counted from its start.
class Transfer {
  public:
    Transfer(TransferOwner& owner, DWORD limitMs)
        : owner_(owner), start_(GetTickCount()), limitMs_(limitMs) {}
    // Runs the owner's pump: 1 when it says stop, 2 once the time limit has passed, else 0.
    int Pump() {
        if (owner_.Pump()) return kTransferStopped;
        return GetTickCount() - start_ >= limitMs_ ? kTransferFailed : kTransferDone;
    }
    void ShowProgress(double fraction) { owner_.ShowProgress(fraction); }

  private:
    TransferOwner& owner_;
    DWORD start_;
    DWORD limitMs_;
};

// Owns a socket and closes it.
class Socket {
  public:
    Socket() = default;
    ~Socket() { Reset(INVALID_SOCKET); }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    // Closes the socket held, if any, and holds this one.
    void Reset(SOCKET socket) {
        if (Valid()) closesocket(socket_);
        socket_ = socket;
    }
    SOCKET Get() const { return socket_; }
    bool Valid() const { return socket_ != INVALID_SOCKET; }

  private:
    SOCKET socket_ = INVALID_SOCKET;
};

void StartSocketsOnce() {
    static bool started = false;
    WSADATA data;
    if (!started) WSAStartup(MAKEWORD(2, 2), &data);
    started = true;
}

// One select on the socket for reading or writing. A socket in the error set (a failed
// connect) is an error.
Wait WaitSocket(SOCKET socket, bool forWriting, int milliseconds) {
    fd_set ready = {1, {socket}};
    fd_set failed = ready;
    timeval timeout = {milliseconds / 1000, (milliseconds % 1000) * 1000};
    const int count =
        select(0, forWriting ? nullptr : &ready, forWriting ? &ready : nullptr, &failed, &timeout);
    if (count == 0) return Wait::kTimeOut;
    if (count < 0 || FD_ISSET(socket, &failed) || !FD_ISSET(socket, &ready)) return Wait::kError;
    return Wait::kReady;
}

// Waits until the socket is ready: selects of stepMs with the pump after each, budgetMs in all
// (the last select takes what is left). 2 for a socket error or the budget used up.
int WaitReady(Transfer& transfer, SOCKET socket, bool forWriting, int stepMs, int budgetMs) {
    for (int left = budgetMs; left > 0;) {
        const int step = std::min(left, stepMs);
        const Wait wait = WaitSocket(socket, forWriting, step);
        if (wait != Wait::kTimeOut) return wait == Wait::kReady ? kTransferDone : kTransferFailed;
        left -= step;
        const int code = transfer.Pump();
        if (code != kTransferDone) return code;
    }
    return kTransferFailed;
}

// The IPv4 address of a dotted quad or a name. A name is looked up on a thread of its own
// while the pump runs, so a look-up that hangs neither freezes the windows nor outlasts a
// stop. 2 when there is no address to connect to: the look-up fails, or gives no address,
// 0.0.0.0 or 255.255.255.255.
int ResolveHost(const char* name, HostLookup lookUp, Transfer& transfer, in_addr& address) {
    address.s_addr = inet_addr(name);
    if (address.s_addr == INADDR_NONE) {
        BackgroundLookup lookup(name, lookUp);
        if (!lookup.Started()) return kTransferFailed;
        HANDLE finished = lookup.Finished();
        for (DWORD wait = WAIT_TIMEOUT; wait != WAIT_OBJECT_0;) {
            const int code = transfer.Pump();
            if (code != kTransferDone) return code;
            wait = MsgWaitForMultipleObjects(1, &finished, FALSE, kLookupStepMs, QS_ALLINPUT);
            if (wait == WAIT_FAILED) return kTransferFailed;
        }
        std::uint32_t found = 0;
        if (!lookup.Result(found)) return kTransferFailed;
        address.s_addr = found;
    }
    const bool usable = address.s_addr != INADDR_ANY && address.s_addr != INADDR_NONE;
    return usable ? kTransferDone : kTransferFailed;
}

// A failed attempt leaves its socket in connected, to be closed with it.
int Connect(in_addr address, u_short port, Transfer& transfer, Socket& connected) {
    connected.Reset(socket(AF_INET, SOCK_STREAM, 0));
    if (!connected.Valid()) return kTransferFailed;
    const SOCKET attempt = connected.Get();
    u_long nonBlocking = 1;
    ioctlsocket(attempt, FIONBIO, &nonBlocking);
    BOOL noDelay = TRUE;
    setsockopt(attempt, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
               sizeof noDelay);

    const sockaddr_in peer = {AF_INET, htons(port), address, {}};
    if (connect(attempt, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0) {
        return kTransferDone;
    }
    if (WSAGetLastError() != WSAEWOULDBLOCK) return kTransferFailed;
    const int code = WaitReady(transfer, attempt, true, kConnectStepMs, kConnectBudgetMs);
    if (code != kTransferDone) return code;
    int error = 0;
    int size = sizeof error;
    const bool failed =
        getsockopt(attempt, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) != 0;
    return failed || error != 0 ? kTransferFailed : kTransferDone;
}

int SendAll(Transfer& transfer, SOCKET socket, const char* bytes, std::size_t length) {
    std::size_t sent = 0;
    for (int left = kSendBudgetMs;;) {
        const int code = transfer.Pump();
        if (code != kTransferDone) return code;
        const std::size_t remaining = length - sent;
        const int piece = static_cast<int>(std::min(remaining, kSendPiece));
        const int count = send(socket, bytes + sent, piece, 0);
        if (count >= 0 && static_cast<std::size_t>(count) >= remaining) return kTransferDone;
        if (count > 0) {
            sent += static_cast<std::size_t>(count);
            if (static_cast<std::size_t>(count) == kSendPiece) continue;
        } else if (count < 0 && WSAGetLastError() != WSAEWOULDBLOCK) {
            return kTransferFailed;
        }
        const Wait wait = WaitSocket(socket, true, kSendStepMs);
        if (wait == Wait::kError) return kTransferFailed;
        left -= wait == Wait::kTimeOut ? kSendStepMs : 0;
        if (left <= 0) return kTransferFailed;
    }
}

// Receives what has arrived, at most capacity bytes (at least one), waiting up to budgetMs in
// 200 ms steps with the pump before each: kOpen with at least one byte, kClosed when the peer
// ended the stream in order, kBroken for a receive error (a reset), the budget or the time
// limit used up.
ReplyEnd ReceiveSome(Transfer& transfer, SOCKET socket, char* place, std::size_t capacity,
                     int budgetMs, std::size_t& received) {
    received = 0;
    for (int left = budgetMs; left > 0; left -= kReceiveStepMs) {
        const int code = transfer.Pump();
        if (code != kTransferDone) {
            return code == kTransferStopped ? ReplyEnd::kStopped : ReplyEnd::kBroken;
        }
        const Wait wait = WaitSocket(socket, false, kReceiveStepMs);
        if (wait == Wait::kError) return ReplyEnd::kBroken;
        if (wait == Wait::kReady) {
            const int count = recv(socket, place, static_cast<int>(capacity), 0);
            if (count > 0) {
                received = static_cast<std::size_t>(count);
                return ReplyEnd::kOpen;
            }
            if (count == 0) return ReplyEnd::kClosed;
            if (WSAGetLastError() != WSAEWOULDBLOCK) return ReplyEnd::kBroken;
        }
    }
    return ReplyEnd::kBroken;
}

// Reads the reply's header into reader, one byte at a time, so that no byte after the
// header's empty line is taken. Before the first byte and after each complete line it waits
// for bytes: the pump first, then 300 ms selects with the pump after each, 5000 ms in all.
int ReadHeader(Transfer& transfer, SOCKET socket, ResponseHeaderReader& reader) {
    using Step = ResponseHeaderReader::Step;
    for (;;) {
        int code = transfer.Pump();
        if (code == kTransferDone) {
            code = WaitReady(transfer, socket, false, kHeaderStepMs, kHeaderBudgetMs);
        }
        if (code != kTransferDone) return code;
        u_long waiting = 0;
        if (ioctlsocket(socket, FIONREAD, &waiting) != 0 || waiting == 0) return kTransferFailed;
        Step step = Step::kMore;
        for (; waiting > 0 && step == Step::kMore; --waiting) {
            char byte = 0;
            if (recv(socket, &byte, 1, 0) != 1) return kTransferFailed;
            step = reader.Take(byte);
        }
        if (step == Step::kBad) return kTransferFailed;
        if (step == Step::kHeaderDone) return kTransferDone;
    }
}

// Exactly length bytes of body into the file, in 1028-byte chunks, with progress after each.
int ReceiveBody(Transfer& transfer, SOCKET socket, HANDLE file, std::uint32_t length) {
    const double step = ProgressStep(length);
    double progress = 0;
    char chunk[kBodyChunkSize];
    for (std::uint32_t remaining = length; remaining > 0;) {
        const std::size_t chunkSize = std::min<std::size_t>(remaining, kBodyChunkSize);
        for (std::size_t filled = 0; filled < chunkSize;) {
            std::size_t received = 0;
            const ReplyEnd end = ReceiveSome(transfer, socket, chunk + filled, chunkSize - filled,
                                             kBodyReceiveBudgetMs, received);
            if (end == ReplyEnd::kStopped) return kTransferStopped;
            if (end != ReplyEnd::kOpen) return kTransferFailed;
            filled += received;
        }
        if (!WriteExactly(file, chunk, static_cast<DWORD>(chunkSize))) return kTransferFailed;
        remaining -= static_cast<std::uint32_t>(chunkSize);
        progress += step;
        transfer.ShowProgress(progress);
    }
    return kTransferDone;
}

// What both uses share: URL, start-up, port, name, connection and the request.
int Request(const char* url, HostLookup lookUp, Transfer& transfer, Socket& connected) {
    char hostPart[kUrlPartSize];
    char path[kUrlPartSize];
    SplitUrl(url, hostPart, path);
    StartSocketsOnce();
    char name[kUrlPartSize];
    std::uint16_t port = 0;
    in_addr address = {};
    if (!SplitHostPort(hostPart, name, port)) return kTransferFailed;
    int code = ResolveHost(name, lookUp, transfer, address);
    if (code == kTransferDone) code = Connect(address, port, transfer, connected);
    if (code != kTransferDone) return code;
    char request[kRequestSize];
    return SendAll(transfer, connected.Get(), request, FormatGetRequest(path, hostPart, request));
}

}  // namespace

int HttpGetToMemory(const char* url, char (&reply)[kMemoryReplySize], TransferOwner& owner,
                    const HttpGetOptions& options) {
    reply[0] = '\0';
    Transfer transfer(owner, options.timeLimitMs);
    Socket connected;
    const int code = Request(url, options.lookUp, transfer, connected);
    if (code != kTransferDone) return code;
    std::size_t total = 0;
    ReplyEnd end = ReplyEnd::kOpen;
    while (end == ReplyEnd::kOpen && !MemoryReplyComplete(reply, total)) {
        std::size_t received = 0;
        end = ReceiveSome(transfer, connected.Get(), reply + total, kMemoryReplyCapacity - total,
                          kMemoryReceiveBudgetMs, received);
        total += received;
    }
    const int result = MemoryTransferResult(reply, total, end);
    // Only a whole reply is handed on: a cut one could read as another version or address.
    reply[result == kTransferDone ? total : 0] = '\0';
    return result;
}

int HttpGetToFile(const char* url, const char* filePath, TransferOwner& owner,
                  const HttpGetOptions& options) {
    Transfer transfer(owner, options.timeLimitMs);
    Socket connected;
    int code = Request(url, options.lookUp, transfer, connected);
    if (code != kTransferDone) return code;
    // Created only now that the request is sent, so an earlier failure leaves the path alone.
    FileHandle file(CreateFileA(filePath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return kTransferFailed;
    ResponseHeaderReader header;
    code = ReadHeader(transfer, connected.Get(), header);
    // An error status or a reply without a usable length is not the resource asked for.
    if (code == kTransferDone && !header.FitForFile()) code = kTransferFailed;
    if (code == kTransferDone) {
        code = ReceiveBody(transfer, connected.Get(), file.Get(), header.Length());
    }
    if (code != kTransferDone) {
        file.Close();
        DeleteFileA(filePath);
    }
    return code;
}
