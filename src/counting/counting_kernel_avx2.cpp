// The one-pass count 64 bytes at a time with AVX2. Compiled for AVX2 by target attributes
// only, so the rest of the program stays runnable on any processor; called only when the
// processor has AVX2 (text_counting.cpp checks).
#include "counting/counting_kernels.h"

#if defined(__i386__) || defined(__x86_64__)

#include <cpuid.h>
#include <immintrin.h>

#define QM_AVX2 __attribute__((target("avx2,bmi,bmi2,popcnt")))

namespace counting_detail {
namespace {

// Word bytes by nibbles: each high nibble names the classes of byte ranges it begins, each low
// nibble the classes it belongs to; a byte is a word byte when the two share a class.
//   0x01: x0-xA under 3, 5, 7 (digits and colon, P-Z, p-z)   0x02: x1-xF under 4, 6 (A-O, a-o)
//   0x04: every byte under 8, 9                               0x08: x0-x5 under A
//   0x10: x7 under 2 (apostrophe)                             0x20: xE under 2 (full stop)
QM_AVX2 inline __m256i HighNibbleClasses() {
    return _mm256_setr_epi8(0, 0, 0x30, 0x01, 0x02, 0x01, 0x02, 0x01, 0x04, 0x04, 0x08, 0, 0, 0, 0,
                            0, 0, 0, 0x30, 0x01, 0x02, 0x01, 0x02, 0x01, 0x04, 0x04, 0x08, 0, 0, 0,
                            0, 0);
}

QM_AVX2 inline __m256i LowNibbleClasses() {
    return _mm256_setr_epi8(0x0D, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x07, 0x17, 0x07, 0x07, 0x07, 0x06,
                            0x06, 0x06, 0x26, 0x06, 0x0D, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x07, 0x17,
                            0x07, 0x07, 0x07, 0x06, 0x06, 0x06, 0x26, 0x06);
}

struct Masks32 {
    std::uint32_t takes, shows, breaks, word;
};

QM_AVX2 inline Masks32 Classify(const unsigned char* bytes) {
    const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes));
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i low = _mm256_and_si256(x, nibble);
    const __m256i high = _mm256_and_si256(_mm256_srli_epi16(x, 4), nibble);
    const __m256i classes = _mm256_and_si256(_mm256_shuffle_epi8(LowNibbleClasses(), low),
                                             _mm256_shuffle_epi8(HighNibbleClasses(), high));
    // CR and LF by their low nibble: the table holds them at their places and 0x80 (which no
    // byte below 0x80 equals) elsewhere; bytes from 0x80 shuffle to 0, which they do not equal.
    const __m256i breakTable =
        _mm256_setr_epi8(-128, -128, -128, -128, -128, -128, -128, -128, -128, -128, '\n', -128,
                         -128, '\r', -128, -128, -128, -128, -128, -128, -128, -128, -128, -128,
                         -128, -128, '\n', -128, -128, '\r', -128, -128);
    const __m256i breaks = _mm256_cmpeq_epi8(_mm256_shuffle_epi8(breakTable, x), x);
    Masks32 m;
    // Signed compares: bytes 0x80-0xFF are negative and take no column.
    m.takes = static_cast<std::uint32_t>(
        _mm256_movemask_epi8(_mm256_cmpgt_epi8(x, _mm256_set1_epi8(0x1F))));
    m.shows = static_cast<std::uint32_t>(
        _mm256_movemask_epi8(_mm256_cmpgt_epi8(x, _mm256_set1_epi8(0x20))));
    m.breaks = static_cast<std::uint32_t>(_mm256_movemask_epi8(breaks));
    m.word = ~static_cast<std::uint32_t>(
        _mm256_movemask_epi8(_mm256_cmpeq_epi8(classes, _mm256_setzero_si256())));
    return m;
}

// The processor family of an AMD processor, 0 for any other maker.
unsigned AmdFamily() {
    if (!__builtin_cpu_is("amd")) return 0;
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return 0;
    const unsigned family = (eax >> 8) & 0x0F;
    return family == 0x0F ? family + ((eax >> 20) & 0xFF) : family;
}

QM_AVX2 inline std::uint64_t Join(std::uint32_t low, std::uint32_t high) {
    return std::uint64_t{low} | std::uint64_t{high} << 32;
}

// Intel's processors deposit bits in one step, and AMD's from Zen 3 (family 0x19) on; the
// earlier AMD ones take a long microcoded loop, so they find the end of a window by halving.
bool DepositIsFast() {
    static const bool fast = kHasDeposit && (__builtin_cpu_is("intel") || AmdFamily() >= 0x19);
    return fast;
}

// Counts blocks on the fast path until one leaves it or fewer than 64 bytes are left; returns
// the bytes counted. The state lives in locals meanwhile, so that it stays in registers.
template <bool kWide, bool kDeposit>
QM_AVX2 std::size_t CountFastBlocks(BlockCounter* counter, const unsigned char* bytes,
                                    std::size_t size) {
    BlockCounter local = *counter;
    std::size_t at = 0;
    for (; size - at >= 64; at += 64) {
        __builtin_prefetch(bytes + at + kPrefetchAhead);
        const Masks32 low = Classify(bytes + at);
        const Masks32 high = Classify(bytes + at + 32);
        const BlockMasks masks = {Join(low.takes, high.takes), Join(low.shows, high.shows),
                                  Join(low.breaks, high.breaks), Join(low.word, high.word)};
        if (!local.CountBlock<kWide, kDeposit>(masks)) break;
    }
    *counter = local;
    return at;
}

}  // namespace

QM_AVX2 void CountChunkAvx2(TextCountState* state, const unsigned char* bytes, std::size_t size) {
    const bool wide = state->width >= 64;
    // The deposit costs a few instructions in every block; the halving only when a window
    // fills, which a wide window does at most every other block and ordinary lines never do
    // (on Zen 3 the deposit wins at width 80, ties at 120 and loses from 160 on).
    const bool deposit = DepositIsFast() && state->width < 128;
    CountWithKernel(
        state, bytes, size,
        [wide, deposit](BlockCounter* counter, const unsigned char* at, std::size_t left) {
            if (deposit) {
                return wide ? CountFastBlocks<true, true>(counter, at, left)
                            : CountFastBlocks<false, true>(counter, at, left);
            }
            return wide ? CountFastBlocks<true, false>(counter, at, left)
                        : CountFastBlocks<false, false>(counter, at, left);
        });
}

}  // namespace counting_detail

#endif
