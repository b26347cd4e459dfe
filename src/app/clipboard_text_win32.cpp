#include "app/clipboard_text_win32.h"

#include <windows.h>

#include <cstring>

ClipboardText ReadClipboardText(std::string& text) {
    ClipboardText result = ClipboardText::kNone;
    OpenClipboard(nullptr);
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        result = ClipboardText::kUnreadable;
        if (const auto* bytes = static_cast<const char*>(GlobalLock(data))) {
            text.assign(bytes, strnlen(bytes, GlobalSize(data)));
            GlobalUnlock(data);
            result = ClipboardText::kRead;
        }
    }
    CloseClipboard();
    return result;
}
