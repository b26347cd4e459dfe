// "Another program" for hot-key tests: a top-level window with an edit box, on a thread of its
// own with its own message loop. It records every key message its edit box receives, with the
// Ctrl and Shift state the edit box sees at that moment, and selects everything on Ctrl+A (the
// system's edit box does not).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class KeyTarget {
  public:
    struct Key {
        UINT message;
        WPARAM key;
        LPARAM flags;
        bool control;
        bool shift;
    };

    explicit KeyTarget(const char* text) : text_(text) {
        InitializeCriticalSection(&lock_);
        ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, &ThreadMain, this, 0, &threadId_);
        WaitForSingleObject(ready_, 10000);
    }
    ~KeyTarget() {
        if (window_ != nullptr) PostMessageA(window_, WM_CLOSE, 0, 0);
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
        CloseHandle(ready_);
        DeleteCriticalSection(&lock_);
    }
    KeyTarget(const KeyTarget&) = delete;
    KeyTarget& operator=(const KeyTarget&) = delete;

    HWND window() const { return window_; }
    HWND edit() const { return edit_; }
    DWORD threadId() const { return threadId_; }

    // Selects characters [from, to) and brings the window to the front.
    void SelectAndActivate(int from, int to) {
        SendMessageA(edit_, EM_SETSEL, from, to);
        SetForegroundWindow(window_);
        SendMessageA(window_, kFocusEdit, 0, 0);
    }
    // Keeps the target's thread from taking messages for ms milliseconds.
    void Stall(DWORD ms) { PostMessageA(window_, kStall, ms, 0); }

    std::vector<Key> Keys() {
        EnterCriticalSection(&lock_);
        std::vector<Key> copy = keys_;
        LeaveCriticalSection(&lock_);
        return copy;
    }
    void ForgetKeys() {
        EnterCriticalSection(&lock_);
        keys_.clear();
        LeaveCriticalSection(&lock_);
    }

  private:
    static constexpr UINT kFocusEdit = WM_APP + 1;
    static constexpr UINT kStall = WM_APP + 2;

    static DWORD WINAPI ThreadMain(void* context) {
        auto* self = static_cast<KeyTarget*>(context);
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &WindowProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "QmKeyTarget";
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassA(&windowClass);
        self->window_ =
            CreateWindowExA(0, "QmKeyTarget", "Key target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500,
                            400, 300, 120, nullptr, nullptr, windowClass.hInstance, self);
        self->edit_ =
            CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", self->text_.c_str(),
                            WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_NOHIDESEL, 5, 5, 270, 24,
                            self->window_, nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrA(self->edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->editProcedure_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            self->edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProcedure)));
        SetFocus(self->edit_);
        SetEvent(self->ready_);
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        return 0;
    }

    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<KeyTarget*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        switch (message) {
            case kFocusEdit:
                SetFocus(self->edit_);
                return 0;
            case kStall:
                Sleep(static_cast<DWORD>(wParam));
                return 0;
            case WM_CLOSE:
                DestroyWindow(window);
                return 0;
            case WM_DESTROY:
                PostQuitMessage(0);
                return 0;
            default:
                return DefWindowProcA(window, message, wParam, lParam);
        }
    }

    static LRESULT CALLBACK EditProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<KeyTarget*>(GetWindowLongPtrA(edit, GWLP_USERDATA));
        if (message == WM_KEYDOWN || message == WM_KEYUP) {
            EnterCriticalSection(&self->lock_);
            self->keys_.push_back({message, wParam, lParam, (GetKeyState(VK_CONTROL) & 0x8000) != 0,
                                   (GetKeyState(VK_SHIFT) & 0x8000) != 0});
            LeaveCriticalSection(&self->lock_);
        }
        if (message == WM_CHAR && wParam == 1) {  // Ctrl+A
            SendMessageA(edit, EM_SETSEL, 0, -1);
            return 0;
        }
        return CallWindowProcA(self->editProcedure_, edit, message, wParam, lParam);
    }

    std::string text_;
    CRITICAL_SECTION lock_;
    HANDLE ready_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
    HWND edit_ = nullptr;
    WNDPROC editProcedure_ = nullptr;
    std::vector<Key> keys_;
};
