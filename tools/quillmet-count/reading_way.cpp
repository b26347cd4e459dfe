#include "reading_way.h"

#include <chrono>
#include <cstdio>

#include "counting/text_counting.h"
#include "parallel_count.h"

namespace {

constexpr std::size_t kMiB = 1024 * 1024;
constexpr std::size_t kPageSize = 4096;

// Each way is timed this often on its own quarter MiB of the file, alternately; the fastest
// time of each counts, so that a moment when the machine is busy elsewhere does not decide.
// Where page faults are dear, this costs about a millisecond.
constexpr int kMeasureRounds = 3;
constexpr std::size_t kMeasureBytes = kMiB / 4;

// How many times cheaper than reading mapping must measure to be chosen.
constexpr double kMappingAdvantage = 2;

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Touches every page of a piece of the mapping: what mapping costs is the page faults.
double TimeMappedPages(const char* view) {
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t at = 0; at < kMeasureBytes; at += kPageSize) {
        static_cast<void>(*static_cast<const volatile char*>(view + at));
    }
    return SecondsSince(start);
}

double TimeRead(const RegularFile& file, std::uint64_t offset, PageAlignedBuffer* buffer) {
    const auto start = std::chrono::steady_clock::now();
    std::size_t got = 0;
    int errorNumber = 0;
    file.ReadAt(offset, buffer->data(), buffer->size(), &got, &errorNumber);
    return SecondsSince(start);
}

}  // namespace

bool ParseReadingChoice(const std::string& text, ReadingChoice* choice) {
    if (text.empty() || text == "auto") {
        *choice = ReadingChoice::Measure;
    } else if (text == "read") {
        *choice = ReadingChoice::Read;
    } else if (text == "map") {
        *choice = ReadingChoice::Map;
    } else {
        return false;
    }
    return true;
}

ReadingWay ChooseReadingWay(ReadingChoice choice, RegularFile* file, ReadingCosts* costs) {
    *costs = ReadingCosts();
    if (choice == ReadingChoice::Read) return ReadingWay::Read;
    if (choice == ReadingChoice::Map) return file->Map() ? ReadingWay::Map : ReadingWay::Read;
    if (file->size() < kMeasureMinimum || !file->Map()) return ReadingWay::Read;

    // Round i touches piece 2i of the mapping and reads piece 2i + 1: each page is met for the
    // first time, as it is by the count.
    PageAlignedBuffer buffer(kMeasureBytes);
    double mapped = 1e9;
    double read = 1e9;
    for (int round = 0; round < kMeasureRounds; ++round) {
        const std::uint64_t offset = std::uint64_t{2} * round * kMeasureBytes;
        const double mapTime = TimeMappedPages(file->view() + offset);
        const double readTime = TimeRead(*file, offset + kMeasureBytes, &buffer);
        if (mapTime < mapped) mapped = mapTime;
        if (readTime < read) read = readTime;
    }
    costs->mapSecondsPerMiB = mapped * (kMiB / kMeasureBytes);
    costs->readSecondsPerMiB = read * (kMiB / kMeasureBytes);
    // Mapping has to win clearly: the threads' page faults share one address space, and the
    // mapped file adds to the process's memory, where reading needs a buffer per thread. Where
    // the two cost about the same (as under load), reading counts as fast or faster.
    if (mapped * kMappingAdvantage < read) return ReadingWay::Map;
    file->Unmap();
    return ReadingWay::Read;
}

std::string DescribeReading(ReadingWay way, std::size_t ranges, const ReadingCosts& costs) {
    char text[200];
    if (way == ReadingWay::Map) {
        std::snprintf(text, sizeof text, "mapped into memory, %u range%s on as many threads",
                      static_cast<unsigned>(ranges), ranges == 1 ? "" : "s");
    } else {
        std::snprintf(text, sizeof text,
                      "read at offsets into a %u KiB buffer per thread, %u range%s on as many "
                      "threads",
                      static_cast<unsigned>(kRangeBufferSize / 1024), static_cast<unsigned>(ranges),
                      ranges == 1 ? "" : "s");
    }
    std::string description = text;
    if (costs.mapSecondsPerMiB > 0 || costs.readSecondsPerMiB > 0) {
        std::snprintf(text, sizeof text, " (measured per MiB: mapping %.3f ms, reading %.3f ms)",
                      costs.mapSecondsPerMiB * 1e3, costs.readSecondsPerMiB * 1e3);
        description += text;
    }
    description += ", counting kernel ";
    description += CountingKernelName(ActiveCountingKernel());
    return description;
}
