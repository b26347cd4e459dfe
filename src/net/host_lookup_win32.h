// Name look-ups that do not hold up the thread that asks: each runs on a thread of its own,
// and the asking thread keeps pumping its windows' messages while it waits (or gives up).
#pragma once

#include <windows.h>

#include <cstdint>

// A name look-up: the IPv4 address (network byte order) of name, false when there is none.
// It may take long; it runs on the look-up's own thread.
using HostLookup = bool (*)(const char* name, std::uint32_t& address);

// The system's look-up (gethostbyname): its first IPv4 address.
bool SystemHostLookup(const char* name, std::uint32_t& address);

// One look-up started on a thread of its own. The thread and this object share the job's
// memory, and whichever lets go last frees it: a look-up that outlives the object (the user
// stopped the transfer) finishes into memory of its own and ends unseen.
class BackgroundLookup {
  public:
    BackgroundLookup(const char* name, HostLookup lookUp);
    ~BackgroundLookup();
    BackgroundLookup(const BackgroundLookup&) = delete;
    BackgroundLookup& operator=(const BackgroundLookup&) = delete;

    // False when the look-up could not be started.
    bool Started() const { return job_ != nullptr; }
    // Signalled when the look-up has ended (only while Started).
    HANDLE Finished() const;
    // After Finished: the address found, false when there was none.
    bool Result(std::uint32_t& address) const;

  private:
    struct Job;
    Job* job_ = nullptr;
};
