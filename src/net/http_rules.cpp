#include "net/http_rules.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/bounded_copy.h"

namespace {

constexpr char kLengthName[] = "content-length";
constexpr std::size_t kLengthNameLength = sizeof kLengthName - 1;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }


// The usable Content-Length of a reply whose header ended within its first `received` bytes,
// and the number of body bytes after that header. False when the header has not ended there,
// is bad, or announced no usable length.
bool AnnouncedLength(const char* reply, std::size_t received, std::uint32_t& length,
                     std::size_t& bodyBytes) {
    ResponseHeaderReader header;
    for (std::size_t at = 0; at < received; ++at) {
        const ResponseHeaderReader::Step step = header.Take(reply[at]);
        if (step == ResponseHeaderReader::Step::kBad) return false;
        if (step == ResponseHeaderReader::Step::kHeaderDone) {
            if (!header.LengthUsable()) return false;
            length = header.Length();
            bodyBytes = received - (at + 1);
            return true;
        }
    }
    return false;
}

}  // namespace

void SplitUrl(const char* url, char (&hostPart)[kUrlPartSize], char (&path)[kUrlPartSize]) {
    hostPart[0] = '\0';
    path[0] = '\0';
    if (url == nullptr) return;
    // The host part starts after the last "//" that comes before the first single slash.
    const char* host = url;
    const char* slash = std::strchr(host, '/');
    while (slash != nullptr && slash[1] == '/') {
        host = slash + 2;
        slash = std::strchr(host, '/');
    }
    CopyBounded(hostPart, host, slash != nullptr ? slash : host + std::strlen(host));
    if (slash != nullptr) CopyBounded(path, slash, slash + std::strlen(slash));
}

bool ReadDigitsUpTo(const char* begin, const char* end, std::uint32_t max, std::uint32_t& value) {
    if (begin == nullptr || begin >= end) return false;
    std::uint32_t number = 0;
    for (const char* at = begin; at < end; ++at) {
        if (!IsDigit(*at)) return false;
        const std::uint32_t digit = static_cast<std::uint32_t>(*at - '0');
        if (number > (max - digit) / 10) return false;
        number = number * 10 + digit;
    }
    value = number;
    return true;
}

bool SplitHostPort(const char* hostPart, char (&name)[kUrlPartSize], std::uint16_t& port) {
    name[0] = '\0';
    if (hostPart == nullptr) return false;
    const char* colon = std::strchr(hostPart, ':');
    const std::size_t nameLength =
        colon != nullptr ? static_cast<std::size_t>(colon - hostPart) : std::strlen(hostPart);
    if (nameLength == 0 || nameLength > kMaxUrlPartLength) return false;
    CopyBounded(name, hostPart, hostPart + nameLength);
    if (colon == nullptr) {
        port = kDefaultHttpPort;
        return true;
    }
    std::uint32_t number = 0;
    if (!ReadDigitsUpTo(colon + 1, colon + 1 + std::strlen(colon + 1), 65535, number) ||
        number == 0) {
        name[0] = '\0';
        return false;
    }
    port = static_cast<std::uint16_t>(number);
    return true;
}

std::size_t FormatGetRequest(const char* path, const char* hostPart, char (&out)[kRequestSize]) {
    const int length =
        std::snprintf(out, sizeof out, "GET %s HTTP/1.0\r\nHost: %s\r\n\r\n",
                      path != nullptr ? path : "", hostPart != nullptr ? hostPart : "");
    if (length < 0) {
        out[0] = '\0';
        return 0;
    }
    return std::min(static_cast<std::size_t>(length), sizeof out - 1);
}

bool IsSuccessStatusLine(const char* line) {
    if (line == nullptr || std::strncmp(line, "HTTP/1.", 7) != 0) return false;
    const char* at = line + 7;
    if (!IsDigit(at[0]) || at[1] != ' ') return false;
    at += 2;
    if (at[0] != '2' || !IsDigit(at[1]) || !IsDigit(at[2])) return false;
    return at[3] == '\0' || at[3] == ' ';
}

LengthLine ReadContentLengthLine(const char* line, bool cutNonBlank, std::uint32_t& length) {
    if (line == nullptr) return LengthLine::kOther;
    for (std::size_t i = 0; i < kLengthNameLength; ++i) {
        if (Lower(line[i]) != kLengthName[i]) return LengthLine::kOther;
    }
    const char* at = line + kLengthNameLength;
    if (*at != ':') return LengthLine::kOther;
    ++at;
    while (IsBlank(*at)) ++at;
    const char* digits = at;
    while (IsDigit(*at)) ++at;
    const char* digitsEnd = at;
    while (IsBlank(*at)) ++at;
    std::uint32_t value = 0;
    if (*at != '\0' || cutNonBlank || !ReadDigitsUpTo(digits, digitsEnd, UINT32_MAX, value) ||
        value == 0) {
        return LengthLine::kInvalid;
    }
    length = value;
    return LengthLine::kValid;
}

ResponseHeaderReader::Step ResponseHeaderReader::Take(char byte) {
    if (bad_ || done_) return bad_ ? Step::kBad : Step::kHeaderDone;
    if (lineComplete_) {
        // The previous byte completed a line: this one starts the next.
        lineComplete_ = false;
        lineLength_ = 0;
        lineCutNonBlank_ = false;
        line_[0] = '\0';
    }
    if (++headerBytes_ > kMaxHeaderBytes || byte == '\0') {
        bad_ = true;
        return Step::kBad;
    }
    if (byte == '\n') {
        if (lineLength_ == 0) {
            done_ = true;
            return Step::kHeaderDone;
        }
        CompleteLine();
        return Step::kLineDone;
    }
    if (byte == '\r') return Step::kMore;
    if (lineLength_ < kMaxHeaderLineLength) {
        line_[lineLength_++] = byte;
        line_[lineLength_] = '\0';
    } else if (!IsBlank(byte)) {
        lineCutNonBlank_ = true;
    }
    return Step::kMore;
}

void ResponseHeaderReader::CompleteLine() {
    if (linesDone_ == 0) {
        statusSuccess_ = IsSuccessStatusLine(line_);
    } else {
        std::uint32_t length = 0;
        const LengthLine kind = ReadContentLengthLine(line_, lineCutNonBlank_, length);
        if (kind != LengthLine::kOther) {
            lengthState_ = kind;
            length_ = kind == LengthLine::kValid ? length : 0;
        }
    }
    ++linesDone_;
    lineComplete_ = true;
}

double ProgressStep(std::uint32_t length) {
    return length == 0 ? 0.0 : static_cast<double>(kBodyChunkSize) / length;
}

bool MemoryReplyComplete(const char* reply, std::size_t received) {
    std::uint32_t length = 0;
    std::size_t bodyBytes = 0;
    return received >= kMemoryReplyCapacity ||
           (AnnouncedLength(reply, received, length, bodyBytes) && bodyBytes >= length);
}

int MemoryTransferResult(const char* reply, std::size_t received, ReplyEnd end) {
    if (end == ReplyEnd::kStopped) return kTransferStopped;
    if (MemoryReplyComplete(reply, received)) return kTransferDone;
    // Without a length only the peer's orderly close says that nothing is missing.
    std::uint32_t length = 0;
    std::size_t bodyBytes = 0;
    const bool whole = end == ReplyEnd::kClosed && received > 0 &&
                       !AnnouncedLength(reply, received, length, bodyBytes);
    return whole ? kTransferDone : kTransferFailed;
}
