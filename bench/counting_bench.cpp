// Speed of the counting core on English-like text with CR LF line breaks and some bytes above
// 0x7F. Also writes that text to a file for compare_with_wc.sh:
//   counting_bench --write-text=FILE --text-bytes=N
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include <benchmark/benchmark.h>

#include "counting/text_counting.h"
#include "parallel_count.h"
#include "regular_file.h"

namespace {

// A fixed pseudo-random sequence (xorshift64*), so every run sees the same text.
class TextGenerator {
  public:
    // Appends the next line (CR LF included) to `out`.
    void AppendLine(std::string* out) {
        static const char* const kWords[] = {
            "the",
            "of",
            "and",
            "to",
            "in",
            "is",
            "you",
            "that",
            "it",
            "he",
            "was",
            "for",
            "on",
            "are",
            "as",
            "with",
            "his",
            "they",
            "at",
            "be",
            "this",
            "have",
            "from",
            "or",
            "one",
            "had",
            "by",
            "word",
            "but",
            "not",
            "what",
            "all",
            "were",
            "we",
            "when",
            "your",
            "can",
            "said",
            "there",
            "use",
            "each",
            "which",
            "she",
            "do",
            "how",
            "their",
            "if",
            "will",
            "typing",
            "job",
            "page",
            "letter",
            "invoice",
            "client",
            "hours",
            "record",
            "don't",
            "it's",
            "3.14",
            "10:30",
            "e.g.",
            "1,250",
            "well-known",
            "caf\xE9",
            "na\xEFve",
            "r\xE9sum\xE9",
            "\x93quoted\x94",
            "\x97",
            "fa\347ade",
        };
        const std::size_t target = 40 + Next() % 50;
        const std::size_t start = out->size();
        while (out->size() - start < target) {
            if (out->size() != start) out->push_back(' ');
            const char* word = kWords[Next() % (sizeof kWords / sizeof kWords[0])];
            out->append(word);
            const unsigned mark = Next() % 16;
            if (mark == 0) out->push_back(',');
            if (mark == 1) out->push_back('.');
        }
        out->append(".\r\n");
        if (Next() % 8 == 0) out->append("\r\n");  // paragraph break
    }

  private:
    std::uint64_t Next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return (state_ * 0x2545F4914F6CDD1DULL) >> 33;
    }
    std::uint64_t state_ = 0x9E3779B97F4A7C15ULL;
};

std::string GenerateText(std::size_t bytes) {
    std::string text;
    text.reserve(bytes + 256);
    TextGenerator generator;
    while (text.size() < bytes) generator.AppendLine(&text);
    text.resize(bytes);
    return text;
}

const std::string& BenchText(std::size_t bytes) {
    static std::string text;
    if (text.size() != bytes) text = GenerateText(bytes);
    return text;
}

void CountWordsBench(benchmark::State& state) {
    const std::string& text = BenchText(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(CountWords(text.c_str()));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

void CountLinesBench(benchmark::State& state) {
    const std::string& text = BenchText(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(CountLines(text.c_str(), 80));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

// Words and lines in one pass with one kernel, in the pieces quillmet-count reads:
// OnePass/<kernel>/<text bytes>/<width>.
void OnePassBench(benchmark::State& state, CountingKernel kernel) {
    const std::string& text = BenchText(static_cast<std::size_t>(state.range(0)));
    const int width = static_cast<int>(state.range(1));
    constexpr std::size_t kPiece = 128 * 1024;
    for (auto _ : state) {
        TextCountState counts = StartTextCount(width);
        for (std::size_t at = 0; at < text.size(); at += kPiece) {
            const std::size_t size = text.size() - at < kPiece ? text.size() - at : kPiece;
            CountTextChunkWith(kernel, &counts, text.data() + at, size);
        }
        benchmark::DoNotOptimize(counts);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

// What reading the text costs at the least: one scan for a byte it does not hold.
void ReadTextBench(benchmark::State& state) {
    const std::string& text = BenchText(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(std::memchr(text.data(), '\0', text.size()));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

// The same text in a file, counted on one thread through quillmet-count's own reader, read at
// offsets into its buffer or mapped afresh each time: ToolReader/<way>/<text bytes>/<width>.
// Beside OnePass, it shows what reading costs.
void ToolReaderBench(benchmark::State& state, bool mapped) {
    const std::string& text = BenchText(static_cast<std::size_t>(state.range(0)));
    char path[] = "/tmp/counting-bench-XXXXXX";
    const int descriptor = mkstemp(path);
    const bool written = descriptor >= 0 && write(descriptor, text.data(), text.size()) ==
                                                static_cast<ssize_t>(text.size());
    if (descriptor >= 0) close(descriptor);
    RegularFile file;
    if (!written || !file.Open(path)) {
        state.SkipWithError("cannot write the text to a file");
        unlink(path);
        return;
    }
    PageAlignedBuffer buffer(kRangeBufferSize);
    bool read = true;
    for (auto _ : state) {
        if (mapped && !file.Map()) read = false;
        TextCountState counts = StartTextCount(static_cast<int>(state.range(1)));
        int errorNumber = 0;
        read = CountFileRange(file, 0, file.size(), &buffer, &counts, &errorNumber) && read;
        benchmark::DoNotOptimize(counts);
        file.Unmap();
    }
    unlink(path);
    if (!read) state.SkipWithError("cannot read the file back");
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

BENCHMARK_CAPTURE(ToolReaderBench, read, false)->Args({16 << 20, 80});
BENCHMARK_CAPTURE(ToolReaderBench, map, true)->Args({16 << 20, 80});

BENCHMARK(ReadTextBench)->Arg(64 << 10)->Arg(16 << 20);
BENCHMARK(CountWordsBench)->Arg(64 << 10)->Arg(16 << 20);
BENCHMARK(CountLinesBench)->Arg(64 << 10)->Arg(16 << 20);

// Every kernel this processor has, at the program's default width and at the widest.
void RegisterOnePassBenchmarks() {
    for (CountingKernel kernel : kCountingKernels) {
        if (!CountingKernelAvailable(kernel)) continue;
        const std::string name = std::string("OnePass/") + CountingKernelName(kernel);
        benchmark::RegisterBenchmark(name.c_str(), OnePassBench, kernel)
            ->Args({64 << 10, 80})
            ->Args({16 << 20, 80})
            ->Args({16 << 20, 500});
    }
}

bool WriteText(const char* path, std::size_t bytes) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    TextGenerator generator;
    std::string block;
    std::size_t written = 0;
    bool ok = true;
    while (ok && written < bytes) {
        block.clear();
        while (block.size() < (1u << 20)) generator.AppendLine(&block);
        const std::size_t size = bytes - written < block.size() ? bytes - written : block.size();
        ok = std::fwrite(block.data(), 1, size, file) == size;
        written += size;
    }
    return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    const char* path = nullptr;
    std::size_t bytes = 256u << 20;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--write-text=", 13) == 0) path = argv[i] + 13;
        if (std::strncmp(argv[i], "--text-bytes=", 13) == 0) {
            bytes = std::strtoull(argv[i] + 13, nullptr, 10);
        }
    }
    if (path != nullptr) {
        if (WriteText(path, bytes)) return 0;
        std::fprintf(stderr, "counting_bench: cannot write %s\n", path);
        return 1;
    }
    RegisterOnePassBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
