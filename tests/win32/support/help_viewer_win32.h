// The system's help viewer (WinHelp) as tests see it from outside: its main window, of class
// MS_WINHELP, the text of the topic it shows (its RichEdit child), and closing it. A test that
// opens help must close the viewer: it outlives the test otherwise, and since it inherits the
// standard output of whoever started it, a runner that reads that output waits for it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace help_viewer {

constexpr char kViewerClass[] = "MS_WINHELP";

// Polls until the condition holds, keeping this thread's windows answering meanwhile.
template <typename Condition>
bool WaitFor(Condition condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(25);
    }
}

inline BOOL CALLBACK CollectViewer(HWND window, LPARAM context) {
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, kViewerClass) == 0 && IsWindowVisible(window)) {
        reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    }
    return TRUE;
}

inline BOOL CALLBACK FindRichEdit(HWND child, LPARAM context) {
    char name[32] = {};
    GetClassNameA(child, name, sizeof name);
    if (CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name, 8, "RichEdit", 8) != CSTR_EQUAL) {
        return TRUE;
    }
    *reinterpret_cast<HWND*>(context) = child;
    return FALSE;
}

// The visible viewer windows.
inline std::vector<HWND> Viewers() {
    std::vector<HWND> found;
    EnumWindows(&CollectViewer, reinterpret_cast<LPARAM>(&found));
    return found;
}

inline std::string Caption(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The text of the viewer's topic pane; empty when it has none or does not answer.
inline std::string TopicText(HWND viewer) {
    HWND pane = nullptr;
    EnumChildWindows(viewer, &FindRichEdit, reinterpret_cast<LPARAM>(&pane));
    if (pane == nullptr) return "";
    std::vector<char> text(65536);
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(pane, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 5000, &copied)) {
        return "";
    }
    return std::string(text.data(), copied);
}

// What every open viewer shows, for failure messages.
inline std::string Shown() {
    std::string shown;
    for (HWND viewer : Viewers()) {
        shown += "[" + Caption(viewer) + "] " + TopicText(viewer).substr(0, 80) + "\n";
    }
    return shown.empty() ? "no help window" : shown;
}

// Waits for a viewer whose topic text begins with the title; null when the bound passes.
inline HWND WaitForTopic(const std::string& title, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND viewer : Viewers()) {
                if (TopicText(viewer).compare(0, title.size(), title) == 0) found = viewer;
            }
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

inline bool WaitForNoViewer(DWORD timeoutMs) {
    return WaitFor([] { return FindWindowA(kViewerClass, nullptr) == nullptr; }, timeoutMs);
}

// Closes every viewer window, hidden ones too, and waits until they are gone.
inline bool CloseViewers(DWORD timeoutMs) {
    for (HWND viewer = FindWindowA(kViewerClass, nullptr); viewer != nullptr;
         viewer = FindWindowExA(nullptr, viewer, kViewerClass, nullptr)) {
        PostMessageA(viewer, WM_CLOSE, 0, 0);
    }
    return WaitForNoViewer(timeoutMs);
}

// Closes whatever viewer is still open when it goes out of scope, also after a failure.
class ViewerCloser {
  public:
    ViewerCloser() = default;
    ~ViewerCloser() { CloseViewers(10000); }
    ViewerCloser(const ViewerCloser&) = delete;
    ViewerCloser& operator=(const ViewerCloser&) = delete;
};

}  // namespace help_viewer
