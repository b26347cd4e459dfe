// Reading the text on the clipboard.
#pragma once

#include <string>

enum class ClipboardText {
    kNone,        // no text on the clipboard (or it could not be opened)
    kUnreadable,  // text is announced, but its memory could not be read
    kRead,        // `text` holds it
};

// Reads the clipboard's CF_TEXT into `text`, up to its zero byte and never past its memory
// block: another program may have put text there without the zero. `text` is left alone
// unless the result is kRead.
ClipboardText ReadClipboardText(std::string& text);
