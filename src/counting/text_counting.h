// Characters, words and lines of a text, by the program's counting rules. Platform-free.
//
// Words: a word is a maximal run of word bytes (IsWordByte); every other byte separates words.
// Lines: a hard wrap at W columns without word wrap. Bytes are taken as signed: those below
// 0x20 (control bytes and all of 0x80-0xFF) take no column, CR and LF end the segment, a space
// takes a column, 0x21-0x7F take a column and start the segment. A segment also ends when its
// W-th column is filled. Only segments holding at least one byte 0x21-0x7F count as lines.
#pragma once

#include <cstddef>
#include <cstdint>

#include "counting/kernel_choice.h"

// The word-character test: a-z, A-Z, 0-9, the bytes 0x80-0xA5, apostrophe, full stop, colon.
bool IsWordByte(unsigned char byte);

// Words of a zero-terminated text. Saturates at INT_MAX rather than wrapping.
int CountWords(const char* text);

// Lines of a zero-terminated text wrapped at `width` columns (a width below 1 wraps as 1).
// Saturates at INT_MAX rather than wrapping.
int CountLines(const char* text, int width);

// The same two counts stated byte by byte, as plainly as the rules read: the reference that
// the fast counts are checked against. CountWords and CountLines give the same results.
int CountWordsByRule(const char* text);
int CountLinesByRule(const char* text, int width);

// Counting a text that arrives in pieces: words and lines in one pass over each piece, with the
// same results as CountWords and CountLines on the whole text. Every byte of every piece is
// counted, a zero byte included (it separates words and takes no column, like other control
// bytes), so a piece need not be zero-terminated.
struct TextCountState {
    int width = 1;         // wrap width, at least 1
    bool inWord = false;   // the last byte was a word byte
    int column = 0;        // columns filled in the current segment, 0..width-1
    bool started = false;  // the current segment holds a visible byte (it was counted)
    std::uint64_t characters = 0;
    std::uint64_t words = 0;
    std::uint64_t lines = 0;
};

// A fresh state for a text wrapped at `width` columns (a width below 1 wraps as 1).
TextCountState StartTextCount(int width);

// Counts the next `size` bytes of the text.
void CountTextChunk(TextCountState* state, const char* data, std::size_t size);
