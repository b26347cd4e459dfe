// A web server on 127.0.0.1 (a port the system picks, or a given one) that answers one connection
// at a time from its own thread with a scripted reply: bytes sent at once, bytes dripped one at a
// time, then a close, a reset or silence until the client goes. Every wait is bounded.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <string>
#include <utility>

class LoopbackServer {
  public:
    enum class End { kClose, kReset, kHold };
    struct Reply {
        Reply(std::string sentNow, End ending = End::kClose)
            : now(std::move(sentNow)), end(ending) {}
        Reply(std::string sentNow, std::string drip, DWORD dripEveryMs)
            : now(std::move(sentNow)), dripped(std::move(drip)), dripMs(dripEveryMs) {}

        std::string now;      // sent as soon as the request has been read
        std::string dripped;  // then one byte every dripMs
        DWORD dripMs = 0;
        End end = End::kClose;
    };

    // How long the server waits for a client, its request, or (kHold) its going away.
    static constexpr DWORD kWaitMs = 12000;

    // backlog 0 with one connection left waiting: the listen queue is full, so a further
    // connect stays pending (the system drops its SYN).
    explicit LoopbackServer(bool fullQueue = false, u_short port = 0) {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        int size = sizeof address;
        listening_ = bind(listener_, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
                     listen(listener_, fullQueue ? 0 : 4) == 0;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        if (fullQueue) {
            filler_ = socket(AF_INET, SOCK_STREAM, 0);
            connect(filler_, reinterpret_cast<sockaddr*>(&address), size);
        }
    }
    ~LoopbackServer() {
        Finish();
        if (filler_ != INVALID_SOCKET) closesocket(filler_);
        closesocket(listener_);
        WSACleanup();
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    // False when the port could not be taken (another program holds it).
    bool Listening() const { return listening_; }
    u_short Port() const { return port_; }
    std::string Url(const char* path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

    // Answers the next connection with reply, from the server's thread.
    void ServeOnce(const Reply& reply) {
        Finish();
        reply_ = reply;
        request_.clear();
        thread_ = CreateThread(nullptr, 0, &LoopbackServer::Serve, this, 0, nullptr);
    }
    // Waits (bounded) for the server's thread; false if it had not ended.
    bool Finish() {
        if (thread_ == nullptr) return true;
        const bool ended = WaitForSingleObject(thread_, kWaitMs + 5000) == WAIT_OBJECT_0;
        CloseHandle(thread_);
        thread_ = nullptr;
        return ended;
    }
    // A connect to the server is still pending after half a second (a full queue).
    bool ConnectStaysPending() const {
        SOCKET probe = socket(AF_INET, SOCK_STREAM, 0);
        u_long nonBlocking = 1;
        ioctlsocket(probe, FIONBIO, &nonBlocking);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port_);
        connect(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
        fd_set done;
        FD_ZERO(&done);
        FD_SET(probe, &done);
        timeval timeout = {0, 500 * 1000};
        const bool pending = select(0, nullptr, &done, nullptr, &timeout) == 0;
        closesocket(probe);
        return pending;
    }
    // A client has connected and is not yet served.
    bool ConnectionWaiting() const { return Readable(listener_, 0); }
    // The request the last client sent (after Finish).
    const std::string& Request() const { return request_; }

  private:
    static bool Readable(SOCKET socket, DWORD ms) {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(socket, &set);
        timeval timeout = {static_cast<long>(ms / 1000), static_cast<long>(ms % 1000) * 1000};
        return select(0, &set, nullptr, nullptr, &timeout) == 1;
    }

    static DWORD WINAPI Serve(void* parameter) {
        auto* self = static_cast<LoopbackServer*>(parameter);
        if (!Readable(self->listener_, kWaitMs)) return 1;
        SOCKET client = accept(self->listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) return 1;
        char buffer[4096];
        while (self->request_.find("\r\n\r\n") == std::string::npos &&
               self->request_.size() < sizeof buffer && Readable(client, kWaitMs)) {
            const int count = recv(client, buffer, sizeof buffer, 0);
            if (count <= 0) break;
            self->request_.append(buffer, count);
        }
        const Reply& reply = self->reply_;
        if (!reply.now.empty()) send(client, reply.now.data(), int(reply.now.size()), 0);
        for (char byte : reply.dripped) {
            Sleep(reply.dripMs);
            if (send(client, &byte, 1, 0) != 1) break;
        }
        if (reply.end == End::kHold) {
            // Silent until the client closes (recv gives 0 or an error) or the bound passes.
            while (Readable(client, kWaitMs) && recv(client, buffer, sizeof buffer, 0) > 0) {
            }
        } else if (reply.end == End::kReset) {
            linger abort = {1, 0};
            setsockopt(client, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort),
                       sizeof abort);
        }
        closesocket(client);
        return 0;
    }

    SOCKET listener_ = INVALID_SOCKET;
    SOCKET filler_ = INVALID_SOCKET;
    u_short port_ = 0;
    bool listening_ = false;
    HANDLE thread_ = nullptr;
    Reply reply_{""};
    std::string request_;
};
