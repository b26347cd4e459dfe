// The HTTP client's rules: URL split, host and port, request text, the reading of a reply's
// header byte by byte, when a reply in memory is whole, and the progress steps of a download.
#include "net/http_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/maker_hosts.h"
#include "ui/progress_bar.h"

namespace {

using namespace std::string_literals;

TEST(HttpRules, UrlSplitHostPortAndRequest) {
    const std::string long300(300, 'h');
    const struct {
        std::string url, host, path, name;
        int port;  // 0: the host part is refused
    } cases[] = {
        {"http://host/path", "host", "/path", "host", 80},
        {"http://127.0.0.1:8000/x", "127.0.0.1:8000", "/x", "127.0.0.1", 8000},
        {"host:00080/x", "host:00080", "/x", "host", 80},
        {"https://host:65535", "host:65535", "", "host", 65535},
        {"http://host//x/y", "x", "/y", "x", 80},
        {"http://" + long300 + "/" + long300, long300.substr(0, 259),
         ("/" + long300).substr(0, 259), long300.substr(0, 259), 80},
        {"http://host:65536/x", "host:65536", "/x", "", 0},
        {"http://host:4294967376/x", "host:4294967376", "/x", "", 0},  // 2^32 + 80
        {"http://host:-1/x", "host:-1", "/x", "", 0},
        {"http://host:0/x", "host:0", "/x", "", 0},
        {"http://host:/x", "host:", "/x", "", 0},
        {"http://:80/x", ":80", "/x", "", 0},
        {"", "", "", "", 0},
    };
    for (const auto& c : cases) {
        char host[kUrlPartSize], path[kUrlPartSize], name[kUrlPartSize];
        SplitUrl(c.url.c_str(), host, path);
        EXPECT_EQ(host, c.host) << c.url;
        EXPECT_EQ(path, c.path) << c.url;
        std::uint16_t port = 0;
        EXPECT_EQ(SplitHostPort(host, name, port), c.port != 0) << c.url;
        EXPECT_EQ(name, c.name) << c.url;
        if (c.port != 0) EXPECT_EQ(port, c.port) << c.url;
    }
    char request[kRequestSize];
    const std::string expected = "GET /p HTTP/1.0\r\nHost: h:81\r\n\r\n";
    EXPECT_EQ(FormatGetRequest("/p", "h:81", request), expected.size());
    EXPECT_EQ(request, expected);
    FormatGetRequest("", "h", request);
    EXPECT_STREQ(request, "GET  HTTP/1.0\r\nHost: h\r\n\r\n");
    for (const char* host :
         {kMakerWebHost, kMakerVersionHost, kMakerDownloadHost, kMakerFallbackDownloadHost}) {
        std::uint16_t port = 0;
        char name[kUrlPartSize];
        EXPECT_TRUE(SplitHostPort(host, name, port)) << "build host " << host;
    }
}

TEST(HttpRules, ReplyHeaderStatusLengthAndEnd) {
    const std::string ok = "HTTP/1.0 200 OK\r\n";
    std::string endless = ok;
    while (endless.size() <= kMaxHeaderBytes) endless += "X-Filler: 0123456789\r\n";
    const struct {
        const char* what;
        std::string header;
        int fit;  // 1 fit for a file, 0 not, -1 refused before its end
        std::uint32_t length = 0;
    } cases[] = {
        {"good", ok + "Content-Length: 10\r\n\r\n", 1, 10},
        {"other case", ok + "content-LENGTH:\t 7 \r\n\r\n", 1, 7},
        {"bare LF, CR inside", "HTTP/1.1 204 No\nContent-\rLength: 3\n\n", 1, 3},
        {"largest", ok + "Content-Length: 4294967295\r\n\r\n", 1, 4294967295u},
        {"later wins", ok + "Content-Length: 9\r\nContent-Length: 4\r\n\r\n", 1, 4},
        {"long line", ok + "X: " + std::string(5000, 'a') + "\r\nContent-Length: 5\r\n\r\n", 1, 5},
        {"blanks cut", ok + "Content-Length: 5" + std::string(300, ' ') + "\r\n\r\n", 1, 5},
        {"number cut", ok + "Content-Length:" + std::string(240, ' ') + "123456789\r\n\r\n", 0},
        {"no length", ok + "Server: x\r\n\r\n", 0},
        {"zero", ok + "Content-Length: 0\r\n\r\n", 0},
        {"negative", ok + "Content-Length: -1\r\n\r\n", 0},
        {"over 32 bits", ok + "Content-Length: 99999999999\r\n\r\n", 0},
        {"junk after", ok + "Content-Length: 12abc\r\n\r\n", 0},
        {"404", "HTTP/1.0 404 Not Found\r\nContent-Length: 9\r\n\r\n", 0},
        {"301", "HTTP/1.1 301 Moved\r\nContent-Length: 9\r\n\r\n", 0},
        {"bare 200", "HTTP/1.1 200\r\nContent-Length: 9\r\n\r\n", 1, 9},
        {"garbage status", "Hello, no web server\r\nContent-Length: 9\r\n\r\n", 0},
        {"HTTP/2", "HTTP/2 200 OK\r\nContent-Length: 9\r\n\r\n", 0},
        {"2000", "HTTP/1.0 2000 OK\r\nContent-Length: 9\r\n\r\n", 0},
        {"empty", "\r\n", 0},
        {"zero byte", ok + "X: \0\r\nContent-Length: 9\r\n\r\n"s, -1},
        {"endless", endless + "Content-Length: 9\r\n\r\n", -1},
    };
    for (const auto& c : cases) {
        const std::string reply = c.header + "BODY";
        ResponseHeaderReader reader;
        auto step = ResponseHeaderReader::Step::kMore;
        std::size_t taken = 0;
        while (taken < reply.size() && step != ResponseHeaderReader::Step::kHeaderDone &&
               step != ResponseHeaderReader::Step::kBad) {
            step = reader.Take(reply[taken++]);
        }
        EXPECT_EQ(step, c.fit < 0 ? ResponseHeaderReader::Step::kBad
                                  : ResponseHeaderReader::Step::kHeaderDone)
            << c.what;
        EXPECT_EQ(reader.FitForFile(), c.fit == 1) << c.what;
        if (c.fit == 1) EXPECT_EQ(reader.Length(), c.length) << c.what;
        if (c.fit >= 0) EXPECT_EQ(taken, c.header.size()) << c.what << ": a body byte taken";
        EXPECT_LE(reader.HeaderBytes(), kMaxHeaderBytes + 1) << c.what;
    }
}

TEST(HttpRules, MemoryReplyIsWholeOnlyWhenItsEndIsKnown) {
    const std::string ok = "HTTP/1.0 200 OK\r\n";
    const std::string bare = ok + "\r\nversion=1.13";
    const std::string sized = ok + "Content-Length: 12\r\n\r\nversion=1.13";
    const std::string full(kMemoryReplyCapacity, 'x');
    using E = ReplyEnd;
    const struct {
        const char* what;
        std::string reply;
        E end;
        bool complete;
        int result;
    } cases[] = {
        {"no length, closed", bare, E::kClosed, false, 0},
        {"no length, reset or time-out", bare, E::kBroken, false, 2},
        {"stopped", sized, E::kStopped, true, 1},
        {"length met, then broken", sized, E::kBroken, true, 0},
        {"length met, still open", sized + "more", E::kOpen, true, 0},
        {"length short, closed", sized.substr(0, sized.size() - 1), E::kClosed, false, 2},
        {"length unusable, closed", ok + "Content-Length: x\r\n\r\nv", E::kClosed, false, 0},
        {"header cut, closed", ok + "Content-Length: 99", E::kClosed, false, 0},
        {"header cut, broken", ok + "Content-Length: 99", E::kBroken, false, 2},
        {"buffer full, broken", full, E::kBroken, true, 0},
        {"nothing, closed", "", E::kClosed, false, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MemoryReplyComplete(c.reply.data(), c.reply.size()), c.complete) << c.what;
        EXPECT_EQ(MemoryTransferResult(c.reply.data(), c.reply.size(), c.end), c.result) << c.what;
    }
}

TEST(HttpRules, HeaderLinesKeep259CharactersWithoutCarriageReturns) {
    for (const auto& [input, line] : std::vector<std::pair<std::string, std::string>>{
             {"a\rb\r\r\n", "ab"},
             {std::string(5000, 'x') + "\r\n", std::string(259, 'x')},
             {std::string(258, 'x') + "\r\r\ryz\n", std::string(258, 'x') + "y"}}) {
        ResponseHeaderReader reader;
        auto step = ResponseHeaderReader::Step::kMore;
        for (char c : input) step = reader.Take(c);
        EXPECT_EQ(step, ResponseHeaderReader::Step::kLineDone);
        EXPECT_EQ(reader.Line(), line);
    }
}

TEST(HttpRules, DownloadProgressAdvancesOneChunkShareAtATime) {
    for (const auto& [length, positions] : std::vector<std::pair<std::uint32_t, std::vector<int>>>{
             {2056, {50, 100}}, {1500, {68, 137}}, {1, {102800}}, {3084, {33, 66, 100}}}) {
        std::vector<int> seen;
        double progress = 0;
        for (std::uint32_t left = length; left > 0; left -= std::min<std::uint32_t>(left, 1028)) {
            progress += ProgressStep(length);
            seen.push_back(ProgressBarPosition(progress));
        }
        EXPECT_EQ(seen, positions) << length;
    }
    EXPECT_EQ(ProgressBarPosition(-1.0), 0);
    EXPECT_EQ(ProgressBarPosition(1e300), 1000000);
}

}  // namespace
