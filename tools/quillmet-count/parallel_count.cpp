#include "parallel_count.h"

#include <cstring>
#include <thread>

namespace {

constexpr std::size_t kPageSize = 4096;

// The read that looks for a line break at a range's start: most lines are far shorter.
constexpr std::size_t kProbeSize = 4096;

// The offset just after the first CR or LF at or after `from`, or the file's size when there is
// none; in *after.
bool AfterNextBreak(const RegularFile& file, std::uint64_t from, std::uint64_t* after,
                    int* errorNumber) {
    char probe[kProbeSize];
    for (std::uint64_t at = from; at < file.size();) {
        std::size_t got = 0;
        if (!file.ReadAt(at, probe, sizeof probe, &got, errorNumber)) return false;
        if (got == 0) break;  // the file ends sooner than it did when it was opened
        const void* lf = std::memchr(probe, '\n', got);
        const std::size_t lfAt = lf != nullptr ? static_cast<const char*>(lf) - probe : got;
        const void* cr = std::memchr(probe, '\r', lfAt);
        const std::size_t breakAt = cr != nullptr ? static_cast<const char*>(cr) - probe : lfAt;
        if (breakAt < got) {
            *after = at + breakAt + 1;
            return true;
        }
        at += got;
    }
    *after = file.size();
    return true;
}

}  // namespace

PageAlignedBuffer::PageAlignedBuffer(std::size_t size)
    : storage_(size + kPageSize - 1), size_(size) {
    const std::uintptr_t at = reinterpret_cast<std::uintptr_t>(storage_.data());
    data_ = storage_.data() + (kPageSize - at % kPageSize) % kPageSize;
}

bool SplitAtLineBreaks(const RegularFile& file, std::size_t pieces,
                       std::vector<std::uint64_t>* starts, int* errorNumber) {
    const std::uint64_t size = file.size();
    *starts = {0};
    for (std::size_t piece = 1; piece < pieces; ++piece) {
        // size * piece / pieces, without overflow for any size.
        const std::uint64_t wanted = size / pieces * piece + size % pieces * piece / pieces;
        if (wanted <= starts->back()) continue;  // the range before ran past this one
        std::uint64_t start = 0;
        if (!AfterNextBreak(file, wanted, &start, errorNumber)) return false;
        if (start >= size) break;
        starts->push_back(start);
    }
    return true;
}

bool CountFileRange(const RegularFile& file, std::uint64_t begin, std::uint64_t end,
                    PageAlignedBuffer* buffer, TextCountState* state, int* errorNumber) {
    if (end > file.size()) end = file.size();
    if (file.view() != nullptr) {  // a mapped file fits the address space
        if (begin < end)
            CountTextChunk(state, file.view() + begin, static_cast<std::size_t>(end - begin));
        return true;
    }
    for (std::uint64_t at = begin; at < end;) {
        const std::uint64_t left = end - at;
        const std::size_t wanted =
            left < buffer->size() ? static_cast<std::size_t>(left) : buffer->size();
        std::size_t got = 0;
        if (!file.ReadAt(at, buffer->data(), wanted, &got, errorNumber)) return false;
        if (got == 0) break;  // the file ends sooner than it did when it was opened
        CountTextChunk(state, buffer->data(), got);
        at += got;
    }
    return true;
}

bool CountFileInParallel(const RegularFile& file, int width, unsigned threads,
                         std::uint64_t minimumPiece, TextCountState* total, std::size_t* ranges,
                         int* errorNumber) {
    std::size_t pieces = threads > 0 ? threads : 1;
    if (minimumPiece > 0 && file.size() / minimumPiece < pieces) {
        pieces = static_cast<std::size_t>(file.size() / minimumPiece);
    }
    std::vector<std::uint64_t> starts = {0};
    if (pieces > 1 && !SplitAtLineBreaks(file, pieces, &starts, errorNumber)) return false;
    *ranges = starts.size();

    struct Range {
        TextCountState count;
        bool read = true;
        int errorNumber = 0;
    };
    std::vector<Range> counted(starts.size());
    for (Range& range : counted) range.count = StartTextCount(width);
    const auto countRange = [&file, &starts, &counted](std::size_t i) {
        const std::uint64_t end = i + 1 < starts.size() ? starts[i + 1] : file.size();
        PageAlignedBuffer buffer(file.view() != nullptr ? 0 : kRangeBufferSize);
        Range& range = counted[i];
        range.read =
            CountFileRange(file, starts[i], end, &buffer, &range.count, &range.errorNumber);
    };
    std::vector<std::thread> workers;
    for (std::size_t i = 1; i < starts.size(); ++i) workers.emplace_back(countRange, i);
    countRange(0);  // this thread takes the first range
    for (std::thread& worker : workers) worker.join();

    // The state at the end is the last range's; the counts add up.
    *total = counted.back().count;
    total->characters = total->words = total->lines = 0;
    for (const Range& range : counted) {
        if (!range.read) {
            *errorNumber = range.errorNumber;
            return false;
        }
        total->characters += range.count.characters;
        total->words += range.count.words;
        total->lines += range.count.lines;
    }
    return true;
}
