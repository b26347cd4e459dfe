#include <winsock2.h>

#include "net/host_lookup_win32.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "net/http_rules.h"

struct BackgroundLookup::Job {
    LONG holds = 2;  // the look-up's thread and the BackgroundLookup
    char name[kUrlPartSize] = {};
    HostLookup lookUp = nullptr;
    HANDLE finished = nullptr;
    std::uint32_t address = 0;
    bool found = false;

    ~Job() {
        if (finished != nullptr) CloseHandle(finished);
    }
    void Release() {
        if (InterlockedDecrement(&holds) == 0) delete this;
    }
    static DWORD WINAPI Run(void* parameter) {
        Job* job = static_cast<Job*>(parameter);
        // Sockets stay started for this thread's own use: the transfer that asked may have
        // been stopped, and have let go of them, before the look-up returns.
        WSADATA data;
        const bool started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
        job->found = started && job->lookUp(job->name, job->address);
        if (started) WSACleanup();
        SetEvent(job->finished);
        job->Release();
        return 0;
    }
};

bool SystemHostLookup(const char* name, std::uint32_t& address) {
    const hostent* entry = gethostbyname(name);
    if (entry == nullptr || entry->h_addrtype != AF_INET || entry->h_length != sizeof address ||
        entry->h_addr_list == nullptr || entry->h_addr_list[0] == nullptr) {
        return false;
    }
    std::memcpy(&address, entry->h_addr_list[0], sizeof address);
    return true;
}

BackgroundLookup::BackgroundLookup(const char* name, HostLookup lookUp) {
    std::unique_ptr<Job> job(new (std::nothrow) Job);
    if (job == nullptr) return;
    std::snprintf(job->name, sizeof job->name, "%s", name != nullptr ? name : "");
    job->lookUp = lookUp;
    job->finished = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (job->finished == nullptr) return;
    const HANDLE thread = CreateThread(nullptr, 0, &Job::Run, job.get(), 0, nullptr);
    if (thread == nullptr) return;
    CloseHandle(thread);
    job_ = job.release();
}

BackgroundLookup::~BackgroundLookup() {
    if (job_ != nullptr) job_->Release();
}

HANDLE BackgroundLookup::Finished() const { return job_ != nullptr ? job_->finished : nullptr; }

bool BackgroundLookup::Result(std::uint32_t& address) const {
    if (job_ == nullptr || WaitForSingleObject(job_->finished, 0) != WAIT_OBJECT_0) return false;
    address = job_->address;
    return job_->found;
}
