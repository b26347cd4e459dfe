// The reply header reader with arbitrary bytes: it stops exactly where the header ends by a
// plain model (the empty line, a zero byte, or more than 16 KiB), and never keeps a line
// longer than 259 characters or one holding a CR; and the memory use's rule of a whole reply.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "net/http_rules.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// The bytes the header takes, and whether it ended (1 by its empty line, -1 refused, 0 not).
int ModelEnd(const std::uint8_t* data, std::size_t size, std::size_t& taken) {
    bool lineEmpty = true;
    for (taken = 0; taken < size;) {
        const char c = static_cast<char>(data[taken++]);
        if (taken > kMaxHeaderBytes || c == '\0') return -1;
        if (c == '\n') {
            if (lineEmpty) return 1;
            lineEmpty = true;
        } else if (c != '\r') {
            lineEmpty = false;
        }
    }
    return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using Step = ResponseHeaderReader::Step;
    ResponseHeaderReader reader;
    Step step = Step::kMore;
    std::size_t taken = 0;
    while (taken < size && step != Step::kHeaderDone && step != Step::kBad) {
        step = reader.Take(static_cast<char>(data[taken++]));
        Check(std::strlen(reader.Line()) <= kMaxHeaderLineLength);
        Check(std::strchr(reader.Line(), '\r') == nullptr);
    }
    std::size_t modelTaken = 0;
    const int end = ModelEnd(data, size, modelTaken);
    Check(taken == modelTaken);
    Check((end == 1) == (step == Step::kHeaderDone));
    Check((end == -1) == (step == Step::kBad));
    if (reader.FitForFile()) Check(end == 1 && reader.Length() > 0);
    // Once ended, the reader takes nothing more.
    if (end != 0) Check(reader.Take('\n') == step);
    // The memory use's rule on the same bytes: a whole reply counts however its stream ended.
    const std::size_t kept = size < kMemoryReplyCapacity ? size : kMemoryReplyCapacity;
    const char* reply = reinterpret_cast<const char*>(data);
    const bool whole = MemoryReplyComplete(reply, kept);
    Check(MemoryTransferResult(reply, kept, ReplyEnd::kBroken) == (whole ? 0 : 2));
    Check(MemoryTransferResult(reply, kept, ReplyEnd::kStopped) == 1);
    if (whole || kept == 0) {
        Check(MemoryTransferResult(reply, kept, ReplyEnd::kClosed) == (whole ? 0 : 2));
    }
    return 0;
}
