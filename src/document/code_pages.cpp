#include "document/code_pages.h"

#include <algorithm>

const SingleByteCodePage* FindCodePage(int number) {
    for (int i = 0; i < kSingleByteCodePageCount; ++i) {
        if (kSingleByteCodePages[i].number == number) return &kSingleByteCodePages[i];
    }
    return nullptr;
}

SingleByteEncoder::SingleByteEncoder(const SingleByteCodePage& page) : number_(page.number) {
    for (int i = 0; i < 128; ++i) {
        if (page.upper[i] == 0) continue;
        sorted_[count_++] = {page.upper[i], static_cast<unsigned char>(0x80 + i)};
    }
    std::sort(sorted_, sorted_ + count_,
              [](const Entry& a, const Entry& b) { return a.character < b.character; });
}

void SingleByteEncoder::Append(char32_t character, std::string* out) const {
    if (character < 0x80) {
        out->push_back(static_cast<char>(character));
        return;
    }
    const Entry* end = sorted_ + count_;
    const Entry* found = std::lower_bound(
        sorted_, end, character, [](const Entry& e, char32_t c) { return e.character < c; });
    if (found != end && found->character == character) {
        out->push_back(static_cast<char>(found->byte));
    } else {
        out->push_back('?');
    }
}

bool AnsiText::Room(std::size_t bytes) {
    if (overLimit_) return false;
    if (bytes > limit_ - text_.size()) {
        overLimit_ = true;
        return false;
    }
    return true;
}

void AnsiText::Character(char32_t character) {
    // No code page writes more than four bytes for a character.
    if (Room(4)) encoder_.Append(character, &text_);
}

void AnsiText::Byte(char byte) {
    if (Room(1)) text_.push_back(byte);
}

void AnsiText::Repeat(char byte, std::uint64_t count) {
    if (count > limit_) count = limit_ + 1;
    if (Room(static_cast<std::size_t>(count))) text_.append(static_cast<std::size_t>(count), byte);
}

void AnsiText::LineBreak() {
    if (Room(2)) text_.append("\r\n", 2);
}

void AnsiText::Utf8(const char* data, std::size_t size) {
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    const unsigned char* end = p + size;
    while (p < end) {
        // Runs of ASCII are copied as they are.
        const unsigned char* ascii = p;
        while (ascii < end && *ascii < 0x80) ++ascii;
        if (ascii > p) {
            const std::size_t run = static_cast<std::size_t>(ascii - p);
            if (!Room(run)) return;
            text_.append(reinterpret_cast<const char*>(p), run);
            p = ascii;
            if (p == end) return;
        }
        const unsigned char lead = *p;
        int extra = 0;
        char32_t value = 0;
        char32_t minimum = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1, value = lead & 0x1F, minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2, value = lead & 0x0F, minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3, value = lead & 0x07, minimum = 0x10000;
        } else {
            Character(0xFFFD);
            ++p;
            continue;
        }
        if (end - p <= extra) {
            Character(0xFFFD);
            ++p;
            continue;
        }
        bool valid = true;
        for (int i = 1; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80) valid = false;
            value = (value << 6) | (p[i] & 0x3F);
        }
        if (!valid || value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            Character(0xFFFD);
            ++p;
            continue;
        }
        Character(value);
        p += extra + 1;
    }
}
