#include "counting/text_counting.h"

#include <climits>
#include <cstring>

#include "counting/counting_kernels.h"

namespace {

int SaturateToInt(std::uint64_t value) {
    return value > static_cast<std::uint64_t>(INT_MAX) ? INT_MAX : static_cast<int>(value);
}

constexpr bool IsWordByteRule(unsigned c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           (c >= 0x80 && c <= 0xA5) || c == '\'' || c == '.' || c == ':';
}

// What each byte does, for the one-pass loop: three look-ups instead of tests and branches.
// The loop keeps the line state in one number, segment = 2 * (columns left - 1) + started, so
// that filling the last column or meeting CR or LF makes it negative.
constexpr std::int64_t kBreakCost = std::int64_t{1} << 40;  // more than any segment can hold

struct ByteTables {
    unsigned char word[256];        // 1: a word byte
    unsigned char visible[256];     // 1: 0x21-0x7F, takes a column and starts the segment
    std::int64_t segmentCost[256];  // 2 per column the byte takes; CR and LF end the segment
};

constexpr ByteTables MakeByteTables() {
    ByteTables tables{};
    for (unsigned c = 0; c < 256; ++c) {
        tables.word[c] = IsWordByteRule(c) ? 1 : 0;
        // Bytes 0x80-0xFF are negative as signed bytes, so below 0x20: they take no column.
        tables.visible[c] = (c > ' ' && c <= 0x7F) ? 1 : 0;
        if (c >= ' ' && c <= 0x7F) tables.segmentCost[c] = 2;
        if (c == '\r' || c == '\n') tables.segmentCost[c] = kBreakCost;
    }
    return tables;
}

constexpr ByteTables kTables = MakeByteTables();

}  // namespace

bool IsWordByte(unsigned char byte) { return IsWordByteRule(byte); }

// The rules byte by byte, as plainly as possible; the one-pass loop and the vector kernels are
// checked against them.
int CountWordsByRule(const char* text) {
    std::uint64_t words = 0;
    bool inWord = false;
    for (const char* p = text; *p != '\0'; ++p) {
        const bool word = IsWordByte(static_cast<unsigned char>(*p));
        if (word && !inWord) ++words;
        inWord = word;
    }
    return SaturateToInt(words);
}

int CountLinesByRule(const char* text, int width) {
    std::uint64_t lines = 0;
    int column = 0;
    bool started = false;
    for (const char* p = text; *p != '\0'; ++p) {
        const signed char c = static_cast<signed char>(*p);
        if (c < 0x20) {
            if (c == '\r' || c == '\n') {
                column = 0;
                started = false;
            }
        } else if (c == ' ') {
            if (++column >= width) {
                column = 0;
                started = false;
            }
        } else {
            if (!started) {
                ++lines;
                started = true;
            }
            if (++column >= width) {
                column = 0;
                started = false;
            }
        }
    }
    return SaturateToInt(lines);
}

TextCountState StartTextCount(int width) {
    TextCountState state;
    state.width = width < 1 ? 1 : width;
    return state;
}

// One pass and no data-dependent branch: three table look-ups and a few additions per byte.
void counting_detail::CountChunkScalar(TextCountState* state, const unsigned char* bytes,
                                       std::size_t size) {
    const std::int64_t fullSegment = 2 * (static_cast<std::int64_t>(state->width) - 1);
    std::int64_t segment = 2 * (static_cast<std::int64_t>(state->width) - state->column - 1) +
                           (state->started ? 1 : 0);
    unsigned inWord = state->inWord ? 1 : 0;
    std::uint64_t words = 0;
    std::uint64_t lines = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned char byte = bytes[i];
        const unsigned word = kTables.word[byte];
        words += inWord < word;  // a word starts
        inWord = word;
        const std::int64_t marked = segment | kTables.visible[byte];
        lines += static_cast<std::uint64_t>(marked - segment);  // the segment starts
        segment = marked - kTables.segmentCost[byte];
        segment = segment < 0 ? fullSegment : segment;  // full, or CR or LF: a new segment
    }
    state->inWord = inWord != 0;
    state->started = (segment & 1) != 0;
    state->column = static_cast<int>(state->width - 1 - (segment >> 1));
    state->characters += size;
    state->words += words;
    state->lines += lines;
}

void CountTextChunk(TextCountState* state, const char* data, std::size_t size) {
    CountTextChunkWith(ActiveCountingKernel(), state, data, size);
}

int CountWords(const char* text) {
    // The lines are not wanted: a width no window fills keeps the kernels on their fast path.
    TextCountState state = StartTextCount(INT_MAX);
    CountTextChunk(&state, text, std::strlen(text));
    return SaturateToInt(state.words);
}

int CountLines(const char* text, int width) {
    TextCountState state = StartTextCount(width);
    CountTextChunk(&state, text, std::strlen(text));
    return SaturateToInt(state.lines);
}
