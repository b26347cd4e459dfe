#include "counting/kernel_choice.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "counting/counting_kernels.h"

namespace {

constexpr const char* kKernelNames[] = {"scalar", "sse2", "avx2", "avx512"};
constexpr int kKernelCount = 4;
constexpr int kNotChosen = -1;

// The kernel in use: chosen once, at the first count, or by UseCountingKernel.
std::atomic<int> activeKernel{kNotChosen};

#if defined(__i386__) || defined(__x86_64__)
// The bit instructions the wide kernels use besides their vectors (every processor with AVX2
// has them).
bool BitInstructions() {
    return __builtin_cpu_supports("popcnt") && __builtin_cpu_supports("bmi") &&
           __builtin_cpu_supports("bmi2");
}
#endif

CountingKernel ChooseKernel() {
    if (const char* wanted = std::getenv("QM_COUNTING_KERNEL")) {
        for (int i = 0; i < kKernelCount; ++i) {
            const CountingKernel kernel = static_cast<CountingKernel>(i);
            if (std::strcmp(wanted, kKernelNames[i]) == 0 && CountingKernelAvailable(kernel)) {
                return kernel;
            }
        }
    }
    for (CountingKernel kernel :
         {CountingKernel::Avx512, CountingKernel::Avx2, CountingKernel::Sse2}) {
        if (CountingKernelAvailable(kernel)) return kernel;
    }
    return CountingKernel::Scalar;
}

}  // namespace

bool CountingKernelAvailable(CountingKernel kernel) {
#if defined(__i386__) || defined(__x86_64__)
    __builtin_cpu_init();
    switch (kernel) {
        case CountingKernel::Scalar:
            return true;
        case CountingKernel::Sse2:
            return __builtin_cpu_supports("sse2");
        case CountingKernel::Avx2:
            // The check covers the system too: AVX2 is reported only where it saves the
            // registers.
            return __builtin_cpu_supports("avx2") && BitInstructions();
        case CountingKernel::Avx512:
            return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                   BitInstructions();
    }
    return false;
#else
    return kernel == CountingKernel::Scalar;
#endif
}

CountingKernel ActiveCountingKernel() {
    int kernel = activeKernel.load(std::memory_order_relaxed);
    if (kernel == kNotChosen) {
        kernel = static_cast<int>(ChooseKernel());
        activeKernel.store(kernel, std::memory_order_relaxed);
    }
    return static_cast<CountingKernel>(kernel);
}

bool UseCountingKernel(CountingKernel kernel) {
    if (!CountingKernelAvailable(kernel)) return false;
    activeKernel.store(static_cast<int>(kernel), std::memory_order_relaxed);
    return true;
}

const char* CountingKernelName(CountingKernel kernel) {
    return kKernelNames[static_cast<int>(kernel)];
}

void CountTextChunkWith(CountingKernel kernel, TextCountState* state, const char* data,
                        std::size_t size) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(data);
#if defined(__i386__) || defined(__x86_64__)
    if (kernel == CountingKernel::Avx512 && CountingKernelAvailable(kernel)) {
        counting_detail::CountChunkAvx512(state, bytes, size);
        return;
    }
    if (kernel == CountingKernel::Avx2 && CountingKernelAvailable(kernel)) {
        counting_detail::CountChunkAvx2(state, bytes, size);
        return;
    }
    if (kernel == CountingKernel::Sse2 && CountingKernelAvailable(kernel)) {
        counting_detail::CountChunkSse2(state, bytes, size);
        return;
    }
#endif
    counting_detail::CountChunkScalar(state, bytes, size);
}
