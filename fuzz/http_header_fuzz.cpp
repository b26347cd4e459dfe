// The reply header reader with arbitrary bytes: it must stop exactly where a string model of
// the header's end says (the empty line, a zero byte, or the 16 KiB bound), never keep a line
// longer than 259 characters or one holding a CR, and judge only what it was given.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "net/http_rules.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

enum class End { kNone, kHeader, kBad };

// Where the header ends: the number of bytes it takes and how it ends.
End ModelEnd(const std::uint8_t* data, std::size_t size, std::size_t& taken,
             std::string& lastLine) {
    std::string line;
    bool lineDone = false;
    for (taken = 0; taken < size;) {
        const char c = static_cast<char>(data[taken++]);
        if (lineDone) {
            line.clear();
            lastLine.clear();
            lineDone = false;
        }
        if (taken > kMaxHeaderBytes || c == '\0') return End::kBad;
        if (c == '\n') {
            if (line.empty()) return End::kHeader;
            lineDone = true;
            lastLine = line.substr(0, kMaxHeaderLineLength);
        } else if (c != '\r') {
            line += c;
            lastLine = line.substr(0, kMaxHeaderLineLength);
        }
    }
    return End::kNone;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ResponseHeaderReader reader;
    ResponseHeaderReader::Step step = ResponseHeaderReader::Step::kMore;
    std::size_t taken = 0;
    while (taken < size) {
        step = reader.Take(static_cast<char>(data[taken++]));
        const char* line = reader.Line();
        Check(std::strlen(line) <= kMaxHeaderLineLength);
        Check(std::strchr(line, '\r') == nullptr);
        if (step == ResponseHeaderReader::Step::kHeaderDone ||
            step == ResponseHeaderReader::Step::kBad) {
            break;
        }
    }
    std::size_t modelTaken = 0;
    std::string lastLine;
    const End end = ModelEnd(data, size, modelTaken, lastLine);
    Check(taken == modelTaken);
    switch (end) {
        case End::kHeader:
            Check(step == ResponseHeaderReader::Step::kHeaderDone);
            break;
        case End::kBad:
            Check(step == ResponseHeaderReader::Step::kBad);
            Check(!reader.FitForFile());
            break;
        case End::kNone:
            Check(step != ResponseHeaderReader::Step::kHeaderDone &&
                  step != ResponseHeaderReader::Step::kBad);
            Check(reader.Line() == lastLine || size == 0);
            break;
    }
    if (reader.FitForFile()) Check(reader.Length() > 0);
    // Once ended, the reader takes nothing more.
    if (end != End::kNone) {
        const bool fit = reader.FitForFile();
        Check(reader.Take('\n') == step && reader.FitForFile() == fit);
    }
    return 0;
}
