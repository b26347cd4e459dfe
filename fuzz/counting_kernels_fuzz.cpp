// The vector kernels of the one-pass count against the plain loop and the byte-by-byte rules:
// arbitrary bytes, arbitrary splits into pieces, widths 1..500. Each input is counted twice:
// as its raw bytes, and turned into text-like bytes (mostly letters and spaces, some breaks,
// control and upper bytes), whose long lines reach the wide windows that raw bytes rarely fill.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "counting/text_counting.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool SameState(const TextCountState& a, const TextCountState& b) {
    return a.characters == b.characters && a.words == b.words && a.lines == b.lines &&
           a.column == b.column && a.started == b.started && a.inWord == b.inWord;
}

TextCountState CountWhole(CountingKernel kernel, const std::string& text, int width) {
    TextCountState state = StartTextCount(width);
    CountTextChunkWith(kernel, &state, text.data(), text.size());
    return state;
}

// Pieces of pseudo-random sizes from 0 to 199, so that blocks of 64 bytes start at every
// offset and pieces end inside blocks and inside CR LF pairs.
TextCountState CountInPieces(CountingKernel kernel, const std::string& text, int width,
                             unsigned seed) {
    TextCountState state = StartTextCount(width);
    std::size_t at = 0;
    while (at < text.size()) {
        seed = seed * 1103515245u + 12345u;
        std::size_t piece = (seed >> 16) % 200;
        if (piece > text.size() - at) piece = text.size() - at;
        CountTextChunkWith(kernel, &state, text.data() + at, piece);
        at += piece;
    }
    return state;
}

void CheckKernels(const std::string& text, int width, unsigned seed) {
    const TextCountState reference = CountWhole(CountingKernel::Scalar, text, width);
    // The plain loop against the rules (which stop at a zero byte: count up to the first).
    const std::size_t zero = text.find('\0');
    const std::string head = text.substr(0, zero);
    const TextCountState headCount = CountWhole(CountingKernel::Scalar, head, width);
    Check(headCount.words == static_cast<std::uint64_t>(CountWordsByRule(head.c_str())));
    Check(headCount.lines == static_cast<std::uint64_t>(CountLinesByRule(head.c_str(), width)));

    for (CountingKernel kernel : kCountingKernels) {
        if (kernel == CountingKernel::Scalar || !CountingKernelAvailable(kernel)) continue;
        Check(SameState(CountWhole(kernel, text, width), reference));
        Check(SameState(CountInPieces(kernel, text, width, seed), reference));
    }
}

const char kTextLike[] = "etaoinshrdlucmfwypvbgkqjxzETAO0129.':,-";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const int width = static_cast<int>((data[0] << 8 | data[1]) % 500) + 1;
    const unsigned seed = data[2] * 2654435761u + 1;
    const std::string raw(reinterpret_cast<const char*>(data) + 3, size - 3);
    CheckKernels(raw, width, seed);

    // Text-like bytes: a byte's top bits choose its kind, its low bits the letter.
    std::string text;
    text.reserve(raw.size());
    for (unsigned char c : raw) {
        const unsigned kind = c >> 5;
        if (kind <= 3) {
            text += kTextLike[c % (sizeof kTextLike - 1)];
        } else if (kind == 4) {
            text += ' ';
        } else if (kind == 5) {
            text += (c & 1) != 0 ? ' ' : kTextLike[c % 26];
        } else if (kind == 6) {
            const char rare[] = {'\t',   '\0',   '\x7F', '\x80', '\xA5', '\xA6', '\xE9', '\xFF',
                                 '\x97', '\x01', '\x1F', '"',    '~',    '!',    '?',    '-'};
            text += rare[c & 15];
        } else {
            const char* const breaks[] = {"\r\n", "\n", "\r", "\r\n\r\n"};
            text += (c & 31) < 4 ? breaks[c & 3] : "    ";
        }
    }
    CheckKernels(text, width, seed ^ 0x5bd1e995u);
    return 0;
}
