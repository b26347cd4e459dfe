// Finding this thread's dialogs and message boxes by their captions.
#pragma once

#include <windows.h>

#include <string>

inline std::string WindowText(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

inline std::string ClassName(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// A message box or other dialog window of this thread with the caption, other than `except`.
struct DialogSearch {
    const char* caption;
    HWND except;
    HWND found;
};

inline BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<DialogSearch*>(parameter);
    if (window != search->except && IsWindowVisible(window) && ClassName(window) == "#32770" &&
        WindowText(window) == search->caption) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

inline HWND FindThreadDialog(const char* caption, HWND except = nullptr) {
    DialogSearch search = {caption, except, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
