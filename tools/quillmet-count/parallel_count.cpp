#include "parallel_count.h"

#include <cstring>
#include <thread>

namespace {

// The offset just after the first CR or LF at or after `from`, or `size` when there is none.
std::size_t AfterNextBreak(const char* data, std::size_t size, std::size_t from) {
    const void* lf = std::memchr(data + from, '\n', size - from);
    const std::size_t lfAt = lf != nullptr ? static_cast<const char*>(lf) - data : size;
    const void* cr = std::memchr(data + from, '\r', lfAt - from);
    const std::size_t breakAt = cr != nullptr ? static_cast<const char*>(cr) - data : lfAt;
    return breakAt < size ? breakAt + 1 : size;
}

}  // namespace

std::vector<std::size_t> SplitAtLineBreaks(const char* data, std::size_t size, std::size_t pieces) {
    std::vector<std::size_t> starts = {0};
    for (std::size_t piece = 1; piece < pieces; ++piece) {
        const std::size_t wanted =
            static_cast<std::size_t>(static_cast<unsigned long long>(size) * piece / pieces);
        if (wanted <= starts.back()) continue;  // the piece before ran past this one
        const std::size_t start = AfterNextBreak(data, size, wanted);
        if (start >= size) break;
        starts.push_back(start);
    }
    return starts;
}

TextCountState CountInParallel(const char* data, std::size_t size, int width, unsigned threads,
                               std::size_t minimumPiece) {
    std::size_t pieces = threads > 0 ? threads : 1;
    if (minimumPiece > 0 && size / minimumPiece < pieces) pieces = size / minimumPiece;
    const std::vector<std::size_t> starts =
        pieces > 1 ? SplitAtLineBreaks(data, size, pieces) : std::vector<std::size_t>{0};

    std::vector<TextCountState> counts(starts.size(), StartTextCount(width));
    std::vector<std::thread> workers;
    for (std::size_t i = starts.size(); i-- > 0;) {
        const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : size;
        TextCountState* count = &counts[i];
        const char* piece = data + starts[i];
        const std::size_t length = end - starts[i];
        if (i == 0) {
            CountTextChunk(count, piece, length);  // this thread takes the first piece
        } else {
            workers.emplace_back([count, piece, length] { CountTextChunk(count, piece, length); });
        }
    }
    for (std::thread& worker : workers) worker.join();

    // The state at the end is the last piece's; the counts add up.
    TextCountState total = counts.back();
    total.characters = total.words = total.lines = 0;
    for (const TextCountState& count : counts) {
        total.characters += count.characters;
        total.words += count.words;
        total.lines += count.lines;
    }
    return total;
}
