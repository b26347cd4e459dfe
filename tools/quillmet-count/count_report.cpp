#include "count_report.h"

#include <cerrno>
#include <cinttypes>
#include <thread>

#include "counting/text_counting.h"
#include "parallel_count.h"

namespace {

// Large enough to make the read calls cheap, small enough to stay in the cache.
constexpr std::size_t kChunkSize = 128 * 1024;

// Each thread gets at least this much of a file, so small files stay on one thread.
constexpr std::uint64_t kThreadMinimum = 1024 * 1024;

std::string NumberText(std::uint64_t value) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%" PRIu64, value);
    return buffer;
}

void AppendRightAligned(const std::string& text, std::size_t width, std::string* out) {
    if (text.size() < width) out->append(width - text.size(), ' ');
    out->append(text);
}

}  // namespace

bool CountStream(std::FILE* stream, int width, CountRow* row, int* errorNumber) {
    std::vector<char> chunk(kChunkSize);
    TextCountState state = StartTextCount(width);
    for (;;) {
        errno = 0;
        const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), stream);
        CountTextChunk(&state, chunk.data(), got);
        if (got < chunk.size()) break;
    }
    if (std::ferror(stream)) {
        *errorNumber = errno != 0 ? errno : EIO;
        return false;
    }
    row->characters = state.characters;
    row->words = state.words;
    row->lines = state.lines;
    row->reading = "read as a stream";
    return true;
}

bool CountFile(const std::string& path, int width, ReadingChoice choice, CountRow* row,
               int* errorNumber) {
    RegularFile regular;
    if (regular.Open(path.c_str())) {
        ReadingCosts costs;
        const ReadingWay way = ChooseReadingWay(choice, &regular, &costs);
        TextCountState state;
        std::size_t ranges = 0;
        if (!CountFileInParallel(regular, width, std::thread::hardware_concurrency(),
                                 kThreadMinimum, &state, &ranges, errorNumber)) {
            return false;
        }
        row->characters = state.characters;
        row->words = state.words;
        row->lines = state.lines;
        row->reading = DescribeReading(way, ranges, costs);
        return true;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        *errorNumber = errno;
        return false;
    }
    const bool counted = CountStream(file, width, row, errorNumber);
    std::fclose(file);
    return counted;
}

double PriceRow(const CorrectedPricingInputs& pricing, const CountRow& row) {
    return PriceJob(pricing, static_cast<double>(row.characters), static_cast<double>(row.words),
                    static_cast<double>(row.lines))
        .total;
}

CountRow TotalRow(const std::vector<CountRow>& rows) {
    CountRow total;
    total.name = "total";
    for (const CountRow& row : rows) {
        total.characters += row.characters;
        total.words += row.words;
        total.lines += row.lines;
        total.price += row.price;
    }
    return total;
}

std::string FormatCountRows(const std::vector<CountRow>& rows, bool priced) {
    std::size_t countWidth = 1;
    std::size_t priceWidth = 1;
    for (const CountRow& row : rows) {
        for (std::uint64_t value : {row.characters, row.words, row.lines}) {
            const std::size_t length = NumberText(value).size();
            if (length > countWidth) countWidth = length;
        }
        if (priced) {
            const std::size_t length = FormatAmount(row.price).size();
            if (length > priceWidth) priceWidth = length;
        }
    }
    std::string out;
    for (const CountRow& row : rows) {
        AppendRightAligned(NumberText(row.characters), countWidth, &out);
        out += ' ';
        AppendRightAligned(NumberText(row.words), countWidth, &out);
        out += ' ';
        AppendRightAligned(NumberText(row.lines), countWidth, &out);
        if (priced) {
            out += ' ';
            AppendRightAligned(FormatAmount(row.price), priceWidth, &out);
        }
        if (!row.name.empty()) {
            out += ' ';
            out += row.name;
        }
        out += '\n';
    }
    return out;
}
