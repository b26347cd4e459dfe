// The rules of the program's HTTP/1.0 GET client that do not touch the network: splitting a
// URL into host part and path, the port, the request text, reading the reply's header byte by
// byte (lines, status line, Content-Length), when a reply taken into memory is whole, and the
// progress steps of a download.
// Platform-free; the sockets are in net/http_get_win32.h.
#pragma once

#include <cstddef>
#include <cstdint>

// A URL, its host part and its path each hold at most 259 characters.
constexpr std::size_t kUrlPartSize = 260;
constexpr std::size_t kMaxUrlPartLength = kUrlPartSize - 1;
// The request text is formed in a buffer of this size (a path and a host part of 259
// characters each fit).
constexpr std::size_t kRequestSize = 2048;
// A header line keeps at most this many characters; the rest of a longer line is dropped.
constexpr std::size_t kMaxHeaderLineLength = 259;
// A header (status line, header lines and the empty line, with their line ends) longer than
// this is refused.
constexpr std::size_t kMaxHeaderBytes = 16 * 1024;
// The body of a download is read in chunks of this many bytes; the progress advances by one
// chunk's share of the length after each.
constexpr std::size_t kBodyChunkSize = 1028;
constexpr std::uint16_t kDefaultHttpPort = 80;

// Transfer result codes shared by both uses of the client.
enum TransferResult : int {
    kTransferDone = 0,
    kTransferStopped = 1,  // the user closed or left the window the transfer runs for
    kTransferFailed = 2,
};

// Splits a URL into host part and path. Whatever stands before a "//" (a scheme, or nothing)
// is thrown away, as is the host part collected so far when another "//" follows it; the host
// part ends at the next single "/", and the path is the rest from that slash on (empty when
// there is none). Both keep at most 259 characters; further ones are dropped.
// "http://host:8080/x/y" -> "host:8080", "/x/y"; "host" -> "host", "".
void SplitUrl(const char* url, char (&hostPart)[kUrlPartSize], char (&path)[kUrlPartSize]);

// Reads [begin, end) as an unsigned decimal number of at most `max`: at least one digit and
// nothing but digits; false (value untouched) otherwise, or when the number exceeds max.
bool ReadDigitsUpTo(const char* begin, const char* end, std::uint32_t max, std::uint32_t& value);

// Splits a host part into the name to resolve and the port: "name" -> port 80,
// "name:8080" -> 8080. False for an empty name, or a port that is not 1 to 65535 written in
// digits ("name:", "name:0", "name:99999", "name:8o").
bool SplitHostPort(const char* hostPart, char (&name)[kUrlPartSize], std::uint16_t& port);

// "GET <path> HTTP/1.0\r\nHost: <host part>\r\n\r\n". Returns its length.
std::size_t FormatGetRequest(const char* path, const char* hostPart, char (&out)[kRequestSize]);

// True for a status line "HTTP/1.<digit> 2<digit><digit>", followed by the end of the line or
// a blank and the reason text.
bool IsSuccessStatusLine(const char* line);

enum class LengthLine {
    kOther,    // not a Content-Length line
    kValid,    // a Content-Length line with a length from 1 to 4294967295
    kInvalid,  // a Content-Length line whose value is no such length
};

// Reads a header line as Content-Length: the name in any case, the colon, optional blanks, the
// digits, optional blanks. `cutNonBlank` tells that the line was longer than what was kept and
// the characters dropped were not all blanks: the number may have been cut, so the line is
// invalid.
LengthLine ReadContentLengthLine(const char* line, bool cutNonBlank, std::uint32_t& length);

// Reads a reply's header as it arrives, one byte at a time, and judges it once the empty line
// has arrived. CR is dropped anywhere; a line keeps 259 characters and drops the rest. A zero
// byte, or more than 16 KiB of header, makes the header bad.
class ResponseHeaderReader {
  public:
    enum class Step {
        kMore,        // keep feeding bytes
        kLineDone,    // a line is complete (Line()); keep feeding for the next one
        kHeaderDone,  // the empty line that ends the header has arrived: read no further byte
        kBad,         // a zero byte or an over-long header: give up
    };

    Step Take(char byte);

    // The line being collected, or the one just completed (at most 259 characters).
    const char* Line() const { return line_; }
    std::size_t HeaderBytes() const { return headerBytes_; }

    // After kHeaderDone: the status line was a success (2xx) status.
    bool StatusIsSuccess() const { return statusSuccess_; }
    // After kHeaderDone: the last Content-Length line gave a usable length.
    bool LengthUsable() const { return lengthState_ == LengthLine::kValid; }
    std::uint32_t Length() const { return length_; }
    // After kHeaderDone: a Content-Length line came, usable or not.
    bool LengthAnnounced() const { return lengthState_ != LengthLine::kOther; }
    // After kHeaderDone: a reply that can be saved as the requested resource: a success
    // status and a usable length.
    bool FitForFile() const { return StatusIsSuccess() && LengthUsable(); }

  private:
    void CompleteLine();

    char line_[kMaxHeaderLineLength + 1] = {};
    std::size_t lineLength_ = 0;
    bool lineCutNonBlank_ = false;
    bool lineComplete_ = false;
    std::size_t headerBytes_ = 0;
    std::size_t linesDone_ = 0;
    bool statusSuccess_ = false;
    LengthLine lengthState_ = LengthLine::kOther;
    std::uint32_t length_ = 0;
    bool bad_ = false;
    bool done_ = false;
};

// The progress of a download after each chunk: the share of one chunk (1028 bytes) in the
// length is added every time, so the last step may end a little above 1.
double ProgressStep(std::uint32_t length);

// The reply buffer of the memory use: at most 511 bytes of reply and the terminating zero.
constexpr std::size_t kMemoryReplySize = 512;
constexpr std::size_t kMemoryReplyCapacity = kMemoryReplySize - 1;

// How the reception of a reply into memory stands after a receive.
enum class ReplyEnd {
    kOpen,     // bytes may still come
    kClosed,   // the peer ended the stream in order after what it sent (recv gave 0)
    kBroken,   // a reset or other receive error, a time-out, or the transfer's time limit
    kStopped,  // the user stopped the transfer
};

// True when the first `received` bytes of reply are a complete reply without waiting for its
// end: they fill the buffer (511 bytes), or their header announced a usable Content-Length and
// at least that many body bytes followed it.
bool MemoryReplyComplete(const char* reply, std::size_t received);

// The result of a transfer into memory: 1 when the user stopped it; 0 for a complete reply, or
// for at least one byte of a reply without a usable Content-Length that the peer ended in
// order; 2 otherwise: nothing received, a reply cut short of its Content-Length, or one without
// a length whose stream broke (a reset, a time-out, the time limit), which may be cut anywhere.
int MemoryTransferResult(const char* reply, std::size_t received, ReplyEnd end);
