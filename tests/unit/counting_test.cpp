#include "counting/text_counting.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Counts `text` in pieces of the given sizes (the last piece takes the rest).
TextCountState CountInPieces(const std::string& text, int width,
                             const std::vector<std::size_t>& sizes) {
    TextCountState state = StartTextCount(width);
    std::size_t at = 0;
    for (std::size_t size : sizes) {
        if (size > text.size() - at) size = text.size() - at;
        CountTextChunk(&state, text.data() + at, size);
        at += size;
    }
    CountTextChunk(&state, text.data() + at, text.size() - at);
    return state;
}

TEST(WordBytes, LettersDigitsUpperBytesTo0xA5ApostropheStopColon) {
    for (unsigned c :
         {0x61u, 0x7Au, 0x41u, 0x5Au, 0x30u, 0x39u, 0x80u, 0x97u, 0xA5u, 0x27u, 0x2Eu, 0x3Au}) {
        EXPECT_TRUE(IsWordByte(static_cast<unsigned char>(c))) << std::hex << c;
    }
    // Neighbours of every range and the usual punctuation separate words.
    for (unsigned char c :
         {'`',  '{',  '@',  '[', '/', ';', '\x7F', '\xA6', '\xE9', '\xFF', '\0', ' ',
          '\t', '\r', '\n', '-', ',', '"', '(',    ')',    '!',    '?',    '&',  '_'}) {
        EXPECT_FALSE(IsWordByte(c)) << std::hex << static_cast<unsigned>(c);
    }
}

TEST(CountWords, WordsAreRunsOfWordBytes) {
    EXPECT_EQ(CountWords(""), 0);
    EXPECT_EQ(CountWords("   "), 0);
    EXPECT_EQ(CountWords("Hello\r\nWorld"), 2);
    for (const char* one : {"don't", "3.14", "e.g.", "10:30", "...", "  word  "}) {
        EXPECT_EQ(CountWords(one), 1) << one;
    }
    EXPECT_EQ(CountWords("well-known"), 2);
    EXPECT_EQ(CountWords("a-b"), 2);
    EXPECT_EQ(CountWords("a - b"), 2);
    EXPECT_EQ(CountWords("-"), 0);
}

TEST(CountWords, UpperBytesAreTakenAsUnsigned) {
    // As signed bytes all of these would be negative; only 0x80-0xA5 are word bytes.
    EXPECT_EQ(CountWords(" \x97 "), 1);
    EXPECT_EQ(CountWords("caf\xE9"), 1);
    EXPECT_EQ(CountWords("na\xEFve"), 2);
    EXPECT_EQ(CountWords("\x80\xA5"), 1);
    EXPECT_EQ(CountWords("\xA6\xFF"), 0);
    EXPECT_EQ(CountWords("a\246b\377c"), 3);  // octal: 0xA6 and 0xFF between letters
}

TEST(CountLines, SegmentsEndAtCrLfOrAtTheWidth) {
    EXPECT_EQ(CountLines("", 80), 0);
    EXPECT_EQ(CountLines("   ", 80), 0);
    EXPECT_EQ(CountLines("Hello\r\nWorld", 80), 2);
    EXPECT_EQ(CountLines((std::string(80, 'x') + "\r\n").c_str(), 80), 1);
    EXPECT_EQ(CountLines((std::string(81, 'x') + "\r\n").c_str(), 80), 2);
    EXPECT_EQ(CountLines("    x", 4), 1);  // the spaces fill a segment without starting it
    EXPECT_EQ(CountLines("   x", 4), 1);
    EXPECT_EQ(CountLines("ab c", 1), 3);
}

TEST(CountLines, BreaksCountOnceAndEmptySegmentsDoNotCount) {
    EXPECT_EQ(CountLines("a\r\nb", 80), CountLines("a\nb", 80));
    EXPECT_EQ(CountLines("a\rb", 80), 2);
    EXPECT_EQ(CountLines("a\r\n\r\n\r\n\nb\r\n", 80), 2);
    EXPECT_EQ(CountLines("a\r\n  \t \r\nb", 80), 2);
    // Tabs and other control bytes take no column and do not end the segment.
    EXPECT_EQ(CountLines("\t\t\t", 80), 0);
    EXPECT_EQ(CountLines("ab\tcd", 2), 2);
    EXPECT_EQ(CountLines("a\x01\x02\x7F", 2), 1);  // 0x7F takes a column and is visible
}

TEST(CountLines, UpperBytesAreTakenAsSignedAndTakeNoColumn) {
    // Bytes 0x80-0xFF are below 0x20 as signed bytes: a line of them counts nothing, although
    // those up to 0xA5 are words.
    const char* upper = "\x80\x97\xA5\xE9\xFF";
    EXPECT_EQ(CountLines(upper, 1), 0);
    EXPECT_EQ(CountWords(upper), 1);
    EXPECT_EQ(CountLines("\xE9\xE9\xE9x", 1), 1);
    EXPECT_EQ(CountLines("caf\xE9 au lait", 4), 3);  // "caf\xE9 " fills 4 columns
}

TEST(CountLines, WidthsBelowOneWrapAsOne) {
    EXPECT_EQ(CountLines("ab c", 0), CountLines("ab c", 1));
    EXPECT_EQ(CountLines("ab c", -5), 3);
    EXPECT_EQ(CountLines("abc", 500), 1);
}

// Texts that exercise every rule, for the piecewise counter.
std::vector<std::string> SampleTexts() {
    std::vector<std::string> texts = {
        "",
        "Hello\r\nWorld",
        "don't 3.14 e.g. 10:30 ... well-known a - b",
        " \x97 caf\xE9 na\xEFve \xA6\xFF\x80",
        "    x   y\r\n\r\n\t\tz\n\rw ",
        std::string(81, 'x') + "\r\n" + std::string(160, ' ') + "q",
        std::string("ab\0cd\nef\0", 9),
    };
    std::string generated;
    unsigned seed = 7;
    for (int i = 0; i < 700; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const char* pieces[] = {"w",  " ",     "\r\n", "\xE9", "\xA5", "it's", "\t", "-",
                                "\n", "xyzzy", "  ",   "\r",   "\x01", "\x7F", ".",  "Q"};
        generated += pieces[(seed >> 20) % 16];
    }
    texts.push_back(generated);
    return texts;
}

TEST(TextCountChunks, OnePieceGivesTheCountsOfTheWholeText) {
    for (const std::string& text : SampleTexts()) {
        if (text.find('\0') != std::string::npos) continue;
        for (int width : {1, 2, 3, 4, 7, 80, 500}) {
            const TextCountState state = CountInPieces(text, width, {});
            EXPECT_EQ(state.characters, text.size());
            EXPECT_EQ(state.words, static_cast<std::uint64_t>(CountWordsByRule(text.c_str())))
                << text;
            EXPECT_EQ(state.lines,
                      static_cast<std::uint64_t>(CountLinesByRule(text.c_str(), width)))
                << "width " << width << ": " << text;
        }
    }
}

TEST(TextCountChunks, EverySplitGivesTheSameCounts) {
    for (const std::string& text : SampleTexts()) {
        for (int width : {1, 3, 4, 80}) {
            const TextCountState whole = CountInPieces(text, width, {});
            for (std::size_t split = 0; split <= text.size(); ++split) {
                const TextCountState parts = CountInPieces(text, width, {split});
                ASSERT_EQ(parts.words, whole.words) << "split " << split;
                ASSERT_EQ(parts.lines, whole.lines) << "split " << split << " width " << width;
                ASSERT_EQ(parts.characters, whole.characters);
            }
        }
    }
}

TEST(TextCountChunks, PiecesOfEveryFixedSizeGiveTheSameCounts) {
    const std::string text = SampleTexts().back();
    for (int width : {1, 2, 5, 80}) {
        const TextCountState whole = CountInPieces(text, width, {});
        for (std::size_t size = 1; size <= 70; ++size) {
            const std::vector<std::size_t> sizes(text.size() / size + 1, size);
            const TextCountState parts = CountInPieces(text, width, sizes);
            ASSERT_EQ(parts.words, whole.words) << "pieces of " << size;
            ASSERT_EQ(parts.lines, whole.lines) << "pieces of " << size << " width " << width;
        }
    }
}

TEST(TextCountChunks, StateBetweenPiecesIsTheRulesState) {
    TextCountState state = StartTextCount(4);
    CountTextChunk(&state, "ab ", 3);
    EXPECT_TRUE(state.started);
    EXPECT_EQ(state.column, 3);
    EXPECT_FALSE(state.inWord);
    CountTextChunk(&state, "c", 1);  // fills the fourth column: a new segment begins
    EXPECT_FALSE(state.started);
    EXPECT_EQ(state.column, 0);
    EXPECT_TRUE(state.inWord);
    CountTextChunk(&state, "d\r", 2);
    EXPECT_EQ(state.lines, 2u);
    EXPECT_EQ(state.words, 2u);  // "ab" and "cd"
}

TEST(TextCountChunks, AZeroByteIsCountedAndSeparatesWordsWithoutEndingTheLine) {
    const std::string text("ab\0cd\nef", 8);
    const TextCountState state = CountInPieces(text, 80, {});
    EXPECT_EQ(state.characters, 8u);
    EXPECT_EQ(state.words, 3u);
    EXPECT_EQ(state.lines, 2u);
    // The same as the text with the zero replaced by another control byte.
    const TextCountState withTab = CountInPieces("ab\tcd\nef", 80, {});
    EXPECT_EQ(withTab.words, state.words);
    EXPECT_EQ(withTab.lines, state.lines);
}

TEST(TextCountChunks, WidthsBelowOneWrapAsOne) {
    EXPECT_EQ(StartTextCount(0).width, 1);
    EXPECT_EQ(StartTextCount(-3).width, 1);
    EXPECT_EQ(CountInPieces("ab c", -3, {1, 1}).lines, 3u);
}

TEST(TextCountChunks, VeryWideSegmentsNeverWrap) {
    const std::string text(100000, 'x');
    EXPECT_EQ(CountInPieces(text, 2147483647, {4096}).lines, 1u);
    EXPECT_EQ(CountLines(text.c_str(), 2147483647), 1);
    EXPECT_EQ(CountLinesByRule(text.c_str(), 2147483647), 1);
}

// Every kernel this processor can run, the plain loop first.
std::vector<CountingKernel> AvailableKernels() {
    std::vector<CountingKernel> kernels;
    for (CountingKernel kernel : kCountingKernels) {
        if (CountingKernelAvailable(kernel)) kernels.push_back(kernel);
    }
    return kernels;
}

// Counts `text` with `kernel`, cut into two pieces at `split`.
TextCountState CountWith(CountingKernel kernel, const std::string& text, int width,
                         std::size_t split) {
    TextCountState state = StartTextCount(width);
    CountTextChunkWith(kernel, &state, text.data(), split);
    CountTextChunkWith(kernel, &state, text.data() + split, text.size() - split);
    return state;
}

// Every kernel, whole and split at every byte, gives the rules' counts (the text holds no NUL).
void ExpectKernelsFollowTheRules(const std::string& text, int width, bool everySplit) {
    const std::uint64_t words = static_cast<std::uint64_t>(CountWordsByRule(text.c_str()));
    const std::uint64_t lines = static_cast<std::uint64_t>(CountLinesByRule(text.c_str(), width));
    for (CountingKernel kernel : AvailableKernels()) {
        for (std::size_t split = 0; split <= text.size(); split += everySplit ? 1 : text.size()) {
            const TextCountState state = CountWith(kernel, text, width, split);
            ASSERT_EQ(state.words, words) << CountingKernelName(kernel) << " split " << split;
            ASSERT_EQ(state.lines, lines)
                << CountingKernelName(kernel) << " width " << width << " split " << split;
            if (split == text.size()) break;
        }
    }
}

TEST(CountingKernels, WindowEdgesAtEveryOffsetOfABlock) {
    // A lead of bytes that take no column moves the first window edge through every offset of
    // a 64-byte block (and so of both 32-byte halves).
    for (int width : {1, 2, 7, 31, 32, 33, 63, 64, 65, 80, 129, 500}) {
        for (std::size_t lead = 0; lead < 64; ++lead) {
            std::string text(lead, '\x97');
            while (text.size() < lead + 2 * static_cast<std::size_t>(width) + 70) text += "ab cd ";
            ExpectKernelsFollowTheRules(text, width, false);
            ExpectKernelsFollowTheRules("  " + text + "\r\n" + text, width, false);
            // A window after a break that a block ends (lead 62 - width) or cuts.
            ExpectKernelsFollowTheRules(
                std::string(lead, 'q') + "\r\n" + std::string(width, 'y') + "z", width, false);
        }
    }
}

TEST(CountingKernels, BreaksAndBoundaryBytesAcrossPiecesAndBlocks) {
    std::string crLfAtBlockEdge(63, 'x');  // CR is byte 63, LF byte 64 of the first block
    crLfAtBlockEdge += "\r\nnext line\r\n\r\n" + std::string(100, 'y') + "\r";
    std::string edgeBytes;
    const char bytes[] = {'\x7F', '\x80', '\xA5', '\xA6', 'a', ' ', '\x1F', '\x21', '\r', 'Z', ':'};
    for (int i = 0; i < 300; ++i) edgeBytes += bytes[(i * 7 + i / 11) % sizeof bytes];
    const std::string rows[] = {crLfAtBlockEdge, edgeBytes, std::string(130, '\n'),
                                std::string(200, ' ') + "x"};
    for (const std::string& text : rows) {
        for (int width : {1, 3, 64, 80}) ExpectKernelsFollowTheRules(text, width, true);
    }
}

TEST(CountingKernels, EveryByteAloneAndInAFullBlock) {
    for (int c = 1; c < 256; ++c) {
        for (int width : {1, 80}) {
            ExpectKernelsFollowTheRules(std::string(1, static_cast<char>(c)), width, false);
            ExpectKernelsFollowTheRules(std::string(64, static_cast<char>(c)), width, false);
        }
    }
}

TEST(CountingKernels, OnlyKernelsTheProcessorHasCanBeChosen) {
    const CountingKernel chosen = ActiveCountingKernel();
    EXPECT_TRUE(CountingKernelAvailable(chosen));
    ASSERT_TRUE(UseCountingKernel(CountingKernel::Scalar));
    EXPECT_EQ(ActiveCountingKernel(), CountingKernel::Scalar);
    EXPECT_EQ(CountLines("ab c", 1), 3);
    for (CountingKernel kernel : kCountingKernels) {
        EXPECT_EQ(UseCountingKernel(kernel), CountingKernelAvailable(kernel));
    }
    EXPECT_TRUE(UseCountingKernel(chosen));
}

}  // namespace
