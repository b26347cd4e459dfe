// The one-pass count 64 bytes at a time with SSE2. Compiled for SSE2 by target attributes
// only, so the 32-bit program still runs on processors without it; called only when the
// processor has SSE2 (text_counting.cpp checks).
#include "counting/counting_kernels.h"

#if defined(__i386__) || defined(__x86_64__)

#include <emmintrin.h>

#define QM_SSE2 __attribute__((target("sse2")))

namespace counting_detail {
namespace {

QM_SSE2 inline __m128i Bytes(int value) { return _mm_set1_epi8(static_cast<char>(value)); }

// Bytes first..last: moved so that first lands on -128, then one signed compare.
QM_SSE2 inline __m128i InRange(__m128i x, int first, int last) {
    return _mm_cmplt_epi8(_mm_add_epi8(x, Bytes(0x80 - first)), Bytes(-128 + last - first + 1));
}

struct Masks16 {
    std::uint64_t takes, shows, breaks, word;
};

QM_SSE2 inline Masks16 Classify(const unsigned char* bytes) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    // Letters of both cases in one range: setting bit 5 maps A-Z onto a-z.
    const __m128i letters = InRange(_mm_or_si128(x, Bytes(0x20)), 'a', 'z');
    const __m128i digitsAndColon = InRange(x, '0', ':');
    const __m128i upper = InRange(x, 0x80, 0xA5);
    const __m128i marks =
        _mm_or_si128(_mm_cmpeq_epi8(x, Bytes('\'')), _mm_cmpeq_epi8(x, Bytes('.')));
    const __m128i word =
        _mm_or_si128(_mm_or_si128(letters, digitsAndColon), _mm_or_si128(upper, marks));
    const __m128i breaks =
        _mm_or_si128(_mm_cmpeq_epi8(x, Bytes('\n')), _mm_cmpeq_epi8(x, Bytes('\r')));
    Masks16 m;
    // Signed compares: bytes 0x80-0xFF are negative and take no column.
    m.takes = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpgt_epi8(x, Bytes(0x1F))));
    m.shows = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpgt_epi8(x, Bytes(0x20))));
    m.breaks = static_cast<unsigned>(_mm_movemask_epi8(breaks));
    m.word = static_cast<unsigned>(_mm_movemask_epi8(word));
    return m;
}

// Counts blocks on the fast path until one leaves it or fewer than 64 bytes are left; returns
// the bytes counted. The state lives in locals meanwhile, so that it stays in registers.
template <bool kWide>
QM_SSE2 std::size_t CountFastBlocks(BlockCounter* counter, const unsigned char* bytes,
                                    std::size_t size) {
    BlockCounter local = *counter;
    std::size_t at = 0;
    for (; size - at >= 64; at += 64) {
        __builtin_prefetch(bytes + at + kPrefetchAhead);
        BlockMasks masks = {0, 0, 0, 0};
        for (int part = 0; part < 4; ++part) {
            const Masks16 m = Classify(bytes + at + 16 * part);
            masks.takes |= m.takes << (16 * part);
            masks.shows |= m.shows << (16 * part);
            masks.breaks |= m.breaks << (16 * part);
            masks.word |= m.word << (16 * part);
        }
        if (!local.CountBlock<kWide, false>(masks)) break;
    }
    *counter = local;
    return at;
}

}  // namespace

QM_SSE2 void CountChunkSse2(TextCountState* state, const unsigned char* bytes, std::size_t size) {
    const bool wide = state->width >= 64;
    CountWithKernel(state, bytes, size,
                    [wide](BlockCounter* counter, const unsigned char* at, std::size_t left) {
                        return wide ? CountFastBlocks<true>(counter, at, left)
                                    : CountFastBlocks<false>(counter, at, left);
                    });
}

}  // namespace counting_detail

#endif
