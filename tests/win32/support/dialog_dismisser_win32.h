// Watches from a second thread for a dialog with a given caption, notes what it shows and
// presses its OK button, so that a message box cannot hold up a test.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>

class DialogDismisser {
  public:
    // How long the watcher looks for the dialog, and how often.
    static constexpr DWORD kLimitMs = 30000;
    static constexpr DWORD kPollMs = 20;

    explicit DialogDismisser(const char* caption) : caption_(caption) {
        stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, &DialogDismisser::Watch, this, 0, nullptr);
    }

    ~DialogDismisser() { Finish(); }

    DialogDismisser(const DialogDismisser&) = delete;
    DialogDismisser& operator=(const DialogDismisser&) = delete;

    // Stops watching and waits for the watcher to end.
    void Finish() {
        if (thread_ == nullptr) return;
        SetEvent(stop_);
        WaitForSingleObject(thread_, kLimitMs + 5000);
        CloseHandle(thread_);
        CloseHandle(stop_);
        thread_ = nullptr;
    }

    bool Found() const { return found_; }
    const std::string& Text() const { return text_; }
    HWND Owner() const { return owner_; }
    HICON Icon() const { return icon_; }

  private:
    static DWORD WINAPI Watch(void* parameter) {
        auto* self = static_cast<DialogDismisser*>(parameter);
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < kLimitMs) {
            HWND box = FindWindowA("#32770", self->caption_);
            if (box != nullptr && IsWindowVisible(box)) {
                self->Inspect(box);
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                return 0;
            }
            if (WaitForSingleObject(self->stop_, kPollMs) == WAIT_OBJECT_0) return 0;
        }
        return 0;
    }

    void Inspect(HWND box) {
        owner_ = GetWindow(box, GW_OWNER);
        EnumChildWindows(box, &DialogDismisser::InspectChild, reinterpret_cast<LPARAM>(this));
        found_ = true;
    }

    // The message box's text is its longest static text; its icon sits in an icon static.
    static BOOL CALLBACK InspectChild(HWND child, LPARAM parameter) {
        auto* self = reinterpret_cast<DialogDismisser*>(parameter);
        char className[32] = {};
        GetClassNameA(child, className, sizeof className);
        if (lstrcmpiA(className, "Static") != 0) return TRUE;
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            self->icon_ = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
            return TRUE;
        }
        char text[2048] = {};
        GetWindowTextA(child, text, sizeof text);
        if (std::strlen(text) > self->text_.size()) self->text_ = text;
        return TRUE;
    }

    const char* caption_;
    HANDLE stop_ = nullptr;
    HANDLE thread_ = nullptr;
    bool found_ = false;
    std::string text_;
    HWND owner_ = nullptr;
    HICON icon_ = nullptr;
};
