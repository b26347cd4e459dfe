// Ends a stuck test program with a clear message.
#pragma once

#include <windows.h>

#include <cstdio>

// A whole test must end well within the test program's time limit; if the thread is stuck in
// a call that no message can reach, the watchdog ends the program with a clear message.
class Watchdog {
  public:
    static constexpr DWORD kLimitMs = 100000;

    Watchdog() {
        stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, &Watchdog::Watch, this, 0, nullptr);
    }
    ~Watchdog() {
        SetEvent(stop_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        CloseHandle(stop_);
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

  private:
    static DWORD WINAPI Watch(void* parameter) {
        auto* self = static_cast<Watchdog*>(parameter);
        if (WaitForSingleObject(self->stop_, kLimitMs) == WAIT_OBJECT_0) return 0;
        std::fprintf(stderr, "watchdog: the test is stuck; ending the test program\n");
        std::fflush(stderr);
        ExitProcess(3);
    }

    HANDLE stop_ = nullptr;
    HANDLE thread_ = nullptr;
};
