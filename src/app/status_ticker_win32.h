// Shows a list of texts in turn in part 0 of a status bar: the first after 500 ms, then a new
// one every 8 s, for as long as the status bar exists.
#pragma once

#include <windows.h>

#include "ui/object_timer_win32.h"

class StatusTicker : public TimedObject {
  public:
    StatusTicker() = default;
    ~StatusTicker() override;
    StatusTicker(const StatusTicker&) = delete;
    StatusTicker& operator=(const StatusTicker&) = delete;

    // messages: null-ended list that outlives the ticker.
    void Start(HWND statusBar, const char* const* messages);
    void Stop();

    UINT OnObjectTimer(HWND window) override;

  private:
    HWND statusBar_ = nullptr;
    const char* const* messages_ = nullptr;
    int next_ = 0;
};
