// Text counting: the one-pass piecewise counter against the byte-by-byte rules, for any bytes,
// any width and any split into pieces.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "counting/text_counting.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    // Two bytes choose the width (including the out-of-range values below 1), one the pieces.
    const int width = static_cast<int>((data[0] << 8 | data[1]) % 600) - 50;
    const unsigned pieceSeed = data[2];
    const std::string text(reinterpret_cast<const char*>(data) + 3, size - 3);

    // The rules, byte by byte, on the text with its NUL bytes turned into another control
    // byte: a NUL inside a piece counts like one.
    std::string zeroFree = text;
    std::size_t visible = 0;
    for (char& c : zeroFree) {
        if (c == '\0') c = '\x01';
        if (c > ' ' && c <= 0x7F) ++visible;
    }
    const int words = CountWordsByRule(zeroFree.c_str());
    const int lines = CountLinesByRule(zeroFree.c_str(), width);

    TextCountState whole = StartTextCount(width);
    CountTextChunk(&whole, text.data(), text.size());
    Check(whole.characters == text.size());
    Check(whole.words == static_cast<std::uint64_t>(words));
    Check(whole.lines == static_cast<std::uint64_t>(lines));
    Check(whole.width >= 1 && whole.column >= 0 && whole.column < whole.width);
    Check(whole.words <= (text.size() + 1) / 2);
    Check(whole.lines <= visible);

    // The same text in pieces of pseudo-random sizes, empty pieces included.
    TextCountState pieces = StartTextCount(width);
    std::size_t at = 0;
    unsigned seed = pieceSeed * 2654435761u + 1;
    while (at < text.size()) {
        seed = seed * 1103515245u + 12345u;
        std::size_t piece = (seed >> 16) % 9;
        if (piece > text.size() - at) piece = text.size() - at;
        CountTextChunk(&pieces, text.data() + at, piece);
        at += piece;
    }
    Check(pieces.characters == whole.characters);
    Check(pieces.words == whole.words);
    Check(pieces.lines == whole.lines);
    Check(pieces.column == whole.column && pieces.started == whole.started &&
          pieces.inWord == whole.inWord);

    // Words of the text cut at its first NUL are those of the zero-terminated function.
    const std::size_t zero = text.find('\0');
    if (zero != std::string::npos) {
        TextCountState head = StartTextCount(width);
        CountTextChunk(&head, text.data(), zero);
        Check(head.words == static_cast<std::uint64_t>(CountWordsByRule(text.c_str())));
        Check(head.lines == static_cast<std::uint64_t>(CountLinesByRule(text.c_str(), width)));
    }
    return 0;
}
