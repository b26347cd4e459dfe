// Which kernel runs the one-pass count, and counting with a given one. Platform-free.
#pragma once

#include <cstddef>

struct TextCountState;

// How the one-pass count runs: the plain loop, or 16, 32 or 64 bytes at a time with the
// processor's vector instructions. All give the same counts. At the first count the fastest
// one the processor offers is chosen; the environment variable QM_COUNTING_KERNEL ("scalar",
// "sse2", "avx2" or "avx512") picks another one the processor offers, for comparisons and
// tests.
enum class CountingKernel { Scalar, Sse2, Avx2, Avx512 };
constexpr CountingKernel kCountingKernels[] = {CountingKernel::Scalar, CountingKernel::Sse2,
                                               CountingKernel::Avx2, CountingKernel::Avx512};

// Whether this processor (and its system) can run `kernel`.
bool CountingKernelAvailable(CountingKernel kernel);

// The kernel CountTextChunk, CountWords and CountLines use.
CountingKernel ActiveCountingKernel();

// Makes `kernel` the one in use. False, changing nothing, when the processor lacks it.
bool UseCountingKernel(CountingKernel kernel);

// "scalar", "sse2", "avx2" or "avx512".
const char* CountingKernelName(CountingKernel kernel);

// CountTextChunk with a given kernel; one the processor lacks counts with the plain loop.
void CountTextChunkWith(CountingKernel kernel, TextCountState* state, const char* data,
                        std::size_t size);
