#include "app/status_ticker_win32.h"

#include <commctrl.h>

namespace {
constexpr UINT kFirstDelayMs = 500;
constexpr UINT kNextDelayMs = 8000;
}  // namespace

StatusTicker::~StatusTicker() { Stop(); }

void StatusTicker::Start(HWND statusBar, const char* const* messages) {
    Stop();
    statusBar_ = statusBar;
    messages_ = messages;
    next_ = 0;
    if (statusBar_ != nullptr && messages_ != nullptr) {
        StartObjectTimer(statusBar_, *this, kFirstDelayMs);
    }
}

void StatusTicker::Stop() {
    if (statusBar_ != nullptr && IsWindow(statusBar_)) StopObjectTimer(statusBar_, *this);
    statusBar_ = nullptr;
}

UINT StatusTicker::OnObjectTimer(HWND) {
    if (messages_[next_] == nullptr) next_ = 0;
    if (messages_[next_] == nullptr) return 0;
    SendMessageA(statusBar_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(messages_[next_]));
    ++next_;
    return kNextDelayMs;
}
