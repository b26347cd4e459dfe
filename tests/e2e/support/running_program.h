// A started copy of the program with its main window, ended at the end of each test.
#pragma once

#include <gtest/gtest.h>

#include "support/driver_win32.h"

namespace e2e {

constexpr DWORD kStartBoundMs = 20000;
constexpr DWORD kExitBoundMs = 15000;
constexpr UINT kCloseRequest = WM_USER + 102;

class RunningProgram {
  public:
    // Starts quillmet.exe (or a copy of it at program) with the given arguments; window() is
    // null when no window came. The splash of a normal start is closed with a click, as a user
    // would, unless kept.
    explicit RunningProgram(const char* arguments = "", bool keepSplash = false,
                            const std::string& program = ProgramPath()) {
        std::string line = "\"" + program + "\" " + arguments;
        if (process_.Start(program, line)) {
            window_ = WaitForDialog("Quillmet", process_.Id(), kStartBoundMs);
            // The window exists before its set-up has run: wait until the program waits for
            // input, with its fields filled and its splash open.
            if (window_ != nullptr) process_.WaitForIdle(kStartBoundMs);
            splash_ = window_ != nullptr ? FindOwnedWindow(window_, "LAW") : nullptr;
            if (splash_ != nullptr && !keepSplash) {
                PostMessageA(splash_, WM_LBUTTONDOWN, MK_LBUTTON, 0);
                WaitFor([&] { return !IsWindow(splash_); }, kExitBoundMs);
            }
        }
    }
    ~RunningProgram() { End(); }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    HWND window() const { return window_; }
    // The splash as the program opened it (null with "-logon"; gone unless kept).
    HWND splash() const { return splash_; }
    Process& process() { return process_; }

    // Asks the program to close as another copy would, and waits for it to end.
    bool End() {
        if (!process_.Running()) return true;
        if (window_ != nullptr) PostMessageA(window_, kCloseRequest, 0, 0);
        bool ended = process_.WaitForExit(kExitBoundMs);
        process_.Kill();
        return ended;
    }

  private:
    Process process_;
    HWND window_ = nullptr;
    HWND splash_ = nullptr;
};

}  // namespace e2e
