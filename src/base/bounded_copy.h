// Copying a text into a fixed buffer. Platform-free.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>

// Copies the text (null: "") into out, cut to fit, always ended by a zero byte.
template <std::size_t Size>
void CopyBounded(char (&out)[Size], const char* text) {
    static_assert(Size > 0, "a buffer holds at least the zero byte");
    std::size_t length = 0;
    if (text != nullptr) {
        while (length < Size - 1 && text[length] != '\0') {
            out[length] = text[length];
            ++length;
        }
    }
    out[length] = '\0';
}

// Copies the characters [begin, end) into out, cut to fit, always ended by a zero byte.
template <std::size_t Size>
void CopyBounded(char (&out)[Size], const char* begin, const char* end) {
    static_assert(Size > 0, "a buffer holds at least the zero byte");
    const std::size_t length = std::min(static_cast<std::size_t>(end - begin), Size - 1);
    std::memcpy(out, begin, length);
    out[length] = '\0';
}
