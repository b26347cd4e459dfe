// Inside the one-pass count: the vector kernels and the block arithmetic they share. Not for
// callers outside src/counting; they use CountTextChunk and the kernel choice of
// text_counting.h.
//
// A kernel classifies 64 bytes at a time into four bit masks (bit i stands for byte i):
//   takes  - the byte takes a column (0x20-0x7F)
//   shows  - the byte is visible and starts its segment (0x21-0x7F)
//   breaks - CR or LF
//   word   - a word byte
// and hands them to CountBlock. Within a hard line (between CR/LF) the segments are fixed
// windows of W column-taking bytes, so a block only has to find the bytes that fill a window
// and then count the segments that hold a visible byte. CountBlock does that when the block
// fills at most one window before its first break and none after it, which is every block
// for W >= 64; other blocks go byte by byte through the scalar loop, which is exact for all.
#pragma once

#include <cstddef>
#include <cstdint>

#include "counting/text_counting.h"

namespace counting_detail {

// The plain one-pass loop: the fallback of every kernel and the reference they are checked
// against.
void CountChunkScalar(TextCountState* state, const unsigned char* bytes, std::size_t size);

// The vector kernels; call them only when the processor has their instruction set.
void CountChunkSse2(TextCountState* state, const unsigned char* bytes, std::size_t size);
void CountChunkAvx2(TextCountState* state, const unsigned char* bytes, std::size_t size);
void CountChunkAvx512(TextCountState* state, const unsigned char* bytes, std::size_t size);

// What follows has internal linkage in each kernel's file: each copy is compiled for the
// instruction set of the kernel that inlines it, and no copy can stand in for another.
namespace {

// How far ahead the fast loops ask for the text: a mapped file's pages lie anywhere in memory,
// and the processor's own prefetching stops at the end of each page.
constexpr std::size_t kPrefetchAhead = 8192;

struct BlockMasks {
    std::uint64_t takes, shows, breaks, word;
};

// Population count in the instruction set of the kernel it is inlined into.
inline int PopCount(std::uint64_t bits) { return __builtin_popcountll(bits); }

// The position of the set bit of `bits` with `rank` set bits below it (rank < PopCount(bits)).
// Halves the range six times; no branch, as where a window ends does not follow a pattern.
inline int SelectBit(std::uint64_t bits, int rank) {
    int position = 0;
    for (int half = 32; half > 0; half /= 2) {
        const int below = PopCount(bits & ((std::uint64_t{1} << half) - 1));
        const int above = -static_cast<int>(rank >= below);  // all ones: look above
        rank -= below & above;
        const int shift = half & above;
        bits >>= shift;
        position += shift;
    }
    return position;
}

// Deposits the low bits of `bits` at the set bits of `mask` (the BMI2 instruction PDEP), for
// kernels whose processor was checked for it. Written as the instruction itself, so that it
// needs no target of its own and is inlined into every kernel that uses it.
#if defined(__x86_64__)
constexpr bool kHasDeposit = true;
inline std::uint64_t DepositBits(std::uint64_t bits, std::uint64_t mask) {
    std::uint64_t result;
    __asm__("pdepq %2, %1, %0" : "=r"(result) : "r"(bits), "rm"(mask));
    return result;
}
#else
constexpr bool kHasDeposit = false;  // the 32-bit instruction set has no 64-bit deposit
inline std::uint64_t DepositBits(std::uint64_t, std::uint64_t) { return 0; }
#endif

// The count's state between blocks, kept in the form the mask arithmetic wants.
struct BlockCounter {
    int width;             // at least 1; the whole int range is allowed
    int column;            // columns filled in the current segment, 0..width-1
    std::uint64_t unseen;  // 1: the current segment holds no visible byte yet
    std::uint64_t inWord;  // 1: the byte before the block was a word byte
    std::uint64_t words = 0;
    std::uint64_t lines = 0;

    explicit BlockCounter(const TextCountState& state)
        : width(state.width),
          column(state.column),
          unseen(state.started ? 0 : 1),
          inWord(state.inWord ? 1 : 0) {}

    void Store(TextCountState* state, std::size_t counted) const {
        state->column = column;
        state->started = unseen == 0;
        state->inWord = inWord != 0;
        state->characters += counted;
        state->words += words;
        state->lines += lines;
    }

    // Counts one block of 64 bytes from its masks. Returns false, changing nothing, when the
    // block fills windows in a way this does not follow; the caller then counts it with
    // CountScalar.
    //
    // kWide: width >= 64, so no block fills a window after its first break. kDeposit: the
    // processor deposits bits fast (DepositBits), and the window's end is found with it and
    // without a branch; otherwise by halving, when there is one.
    template <bool kWide, bool kDeposit>
    inline bool CountBlock(const BlockMasks& m) {
        // Segment ends: the breaks, and the byte that fills a window. Before the first break
        // the window goes on from `column`; after a break it starts afresh.
        const std::uint64_t firstBreak = m.breaks & (0 - m.breaks);
        const std::uint64_t beforeBreak = firstBreak - 1;  // every bit when there is no break
        const std::uint64_t takesBefore = m.takes & beforeBreak;
        std::int64_t filled = std::int64_t{column} + PopCount(takesBefore);
        std::uint64_t ends = m.breaks;
        if (!kWide && filled - width >= width) return false;  // two windows filled
        if (kDeposit) {
            const std::int64_t fill = -static_cast<std::int64_t>(filled >= width);
            const unsigned rank = static_cast<unsigned>(width - 1 - column) & 63;
            ends |= DepositBits(std::uint64_t{1} << rank, takesBefore) &
                    static_cast<std::uint64_t>(fill);
            filled -= width & fill;
        } else if (filled >= width) {
            ends |= std::uint64_t{1} << SelectBit(takesBefore, width - 1 - column);
            filled -= width;
        }
        // After the last break the window starts afresh; written without a branch, as blocks
        // with and without a break alternate in ordinary text.
        const std::uint64_t upToFirstBreak = beforeBreak | firstBreak;
        if (!kWide && PopCount(m.takes & ~upToFirstBreak) >= width) return false;
        const int lastBreak = 63 ^ __builtin_clzll(m.breaks | 1);  // the highest set bit
        const std::int64_t afterLastBreak = PopCount((m.takes >> lastBreak) >> 1);
        const std::int64_t afterBreak = -static_cast<std::int64_t>(m.breaks != 0);
        column = static_cast<int>(filled ^ ((filled ^ afterLastBreak) & afterBreak));

        // A visible byte starts a line when nothing visible came between the segment's start
        // and it. With starts = segment starts (bit 0 too, when the segment before the block
        // holds nothing visible yet) and gaps = ~shows, the carries of (starts & gaps) + gaps
        // run from each start over the gaps and stop at the first visible byte: a carry into
        // bit i means "no visible byte since the start". Bit 0 of ends << 1 is always clear,
        // so the carry from the block before enters as a start of its own.
        const std::uint64_t starts = ends << 1 | unseen;
        const std::uint64_t gaps = ~m.shows;
        const std::uint64_t generate = starts & gaps;
        std::uint64_t sum;
        const std::uint64_t carryOut = __builtin_add_overflow(generate, gaps, &sum) ? 1 : 0;
        const std::uint64_t carries = sum ^ generate ^ gaps;
        lines += static_cast<std::uint64_t>(PopCount(m.shows & (starts | carries)));
        unseen = carryOut | (ends >> 63);

        // A word starts where a word byte follows a separator.
        words += static_cast<std::uint64_t>(PopCount(m.word & ~((m.word << 1) | inWord)));
        inWord = m.word >> 63;
        return true;
    }

    // Counts `size` bytes with the scalar loop, from and back into this state.
    void CountScalar(const unsigned char* bytes, std::size_t size) {
        TextCountState state;
        state.width = width;
        state.column = column;
        state.started = unseen == 0;
        state.inWord = inWord != 0;
        CountChunkScalar(&state, bytes, size);
        column = state.column;
        unseen = state.started ? 0 : 1;
        inWord = state.inWord ? 1 : 0;
        words += state.words;
        lines += state.lines;
    }
};

// Counts `size` bytes with a kernel's fast loop: fastBlocks(counter, bytes, size) counts blocks
// until one leaves the fast path and returns the bytes it counted. That block and the last
// bytes (fewer than 64) go through the scalar loop.
template <typename FastBlocks>
inline void CountWithKernel(TextCountState* state, const unsigned char* bytes, std::size_t size,
                            FastBlocks fastBlocks) {
    BlockCounter counter(*state);
    std::size_t at = 0;
    while (size - at >= 64) {
        at += fastBlocks(&counter, bytes + at, size - at);
        if (size - at < 64) break;
        counter.CountScalar(bytes + at, 64);
        at += 64;
    }
    counter.CountScalar(bytes + at, size - at);
    counter.Store(state, size);
}

}  // namespace
}  // namespace counting_detail
