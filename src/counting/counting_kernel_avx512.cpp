// The one-pass count 64 bytes at a time with AVX-512 (byte and word instructions): the compares
// give the four masks directly. Compiled for AVX-512 by target attributes only; called only when
// the processor and its system offer it (text_counting.cpp checks).
#include "counting/counting_kernels.h"

#if defined(__i386__) || defined(__x86_64__)

#include <immintrin.h>

#define QM_AVX512 __attribute__((target("avx512f,avx512bw,bmi,bmi2,popcnt")))

namespace counting_detail {
namespace {

// The nibble classes of the word bytes and the places of CR and LF, as in the AVX2 kernel.
QM_AVX512 inline __m512i EveryLane(__m128i table) {
    return _mm512_maskz_broadcast_i32x4(0xFFFF, table);
}

QM_AVX512 inline BlockMasks Classify(const unsigned char* bytes) {
    const __m512i highClasses = EveryLane(
        _mm_setr_epi8(0, 0, 0x30, 0x01, 0x02, 0x01, 0x02, 0x01, 0x04, 0x04, 0x08, 0, 0, 0, 0, 0));
    const __m512i lowClasses =
        EveryLane(_mm_setr_epi8(0x0D, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x07, 0x17, 0x07, 0x07, 0x07,
                                0x06, 0x06, 0x06, 0x26, 0x06));
    const __m512i breakPlaces =
        EveryLane(_mm_setr_epi8(-128, -128, -128, -128, -128, -128, -128, -128, -128, -128, '\n',
                                -128, -128, '\r', -128, -128));
    const __m512i x = _mm512_loadu_si512(bytes);
    const __m512i nibble = _mm512_set1_epi8(0x0F);
    const __m512i low = _mm512_and_si512(x, nibble);
    const __m512i high = _mm512_and_si512(_mm512_srli_epi16(x, 4), nibble);
    BlockMasks m;
    // Signed compares: bytes 0x80-0xFF are negative and take no column.
    m.takes = _mm512_cmpgt_epi8_mask(x, _mm512_set1_epi8(0x1F));
    m.shows = _mm512_cmpgt_epi8_mask(x, _mm512_set1_epi8(0x20));
    m.breaks = _mm512_cmpeq_epi8_mask(_mm512_shuffle_epi8(breakPlaces, x), x);
    m.word = _mm512_test_epi8_mask(_mm512_shuffle_epi8(lowClasses, low),
                                   _mm512_shuffle_epi8(highClasses, high));
    return m;
}

// Counts blocks on the fast path until one leaves it or fewer than 64 bytes are left; returns
// the bytes counted. The state lives in locals meanwhile, so that it stays in registers. Every
// processor with AVX-512 deposits bits fast.
template <bool kWide>
QM_AVX512 std::size_t CountFastBlocks(BlockCounter* counter, const unsigned char* bytes,
                                      std::size_t size) {
    BlockCounter local = *counter;
    std::size_t at = 0;
    for (; size - at >= 64; at += 64) {
        __builtin_prefetch(bytes + at + kPrefetchAhead);
        const BlockMasks masks = Classify(bytes + at);
        if (!local.CountBlock<kWide, kHasDeposit>(masks)) break;
    }
    *counter = local;
    return at;
}

}  // namespace

QM_AVX512 void CountChunkAvx512(TextCountState* state, const unsigned char* bytes,
                                std::size_t size) {
    const bool wide = state->width >= 64;
    CountWithKernel(state, bytes, size,
                    [wide](BlockCounter* counter, const unsigned char* at, std::size_t left) {
                        return wide ? CountFastBlocks<true>(counter, at, left)
                                    : CountFastBlocks<false>(counter, at, left);
                    });
}

}  // namespace counting_detail

#endif
