// The HTTP client's rules: URL split, host and port, request text, the reading of a reply's
// header byte by byte, and the progress steps of a download.
#include "net/http_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "settings/maker_hosts.h"

namespace {

struct UrlCase {
    std::string url, host, path;
};

TEST(SplitUrl, HostPartAndPath) {
    const std::string long300(300, 'h');
    const std::string longPath = "/" + std::string(300, 'p');
    const std::vector<UrlCase> cases = {
        {"http://host/path", "host", "/path"},
        {"http://host:8080/x", "host:8080", "/x"},
        {"host/x", "host", "/x"},
        {"https://host/x", "host", "/x"},
        {"http://host", "host", ""},
        {"http://host//x/y", "x", "/y"},
        {"anything//host/a/b//c", "host", "/a/b//c"},
        {"//", "", ""},
        {"", "", ""},
        {"/", "", "/"},
        {"http://" + long300 + "/x", long300.substr(0, 259), "/x"},
        {"http://h" + longPath, "h", longPath.substr(0, 259)},
    };
    for (const UrlCase& c : cases) {
        char host[kUrlPartSize];
        char path[kUrlPartSize];
        SplitUrl(c.url.c_str(), host, path);
        EXPECT_EQ(host, c.host) << c.url;
        EXPECT_EQ(path, c.path) << c.url;
    }
}

struct HostPortCase {
    std::string hostPart;
    bool ok;
    std::string name;
    int port;
};

TEST(SplitHostPort, NameAndPortReadAsCheckedDigits) {
    const std::vector<HostPortCase> cases = {
        {"host", true, "host", 80},
        {"host:8080", true, "host", 8080},
        {"127.0.0.1:8000", true, "127.0.0.1", 8000},
        {"host:65535", true, "host", 65535},
        {"host:00080", true, "host", 80},
        {"host:65536", false, "", 0},
        {"host:99999999999", false, "", 0},
        {"host:4294967376", false, "", 0},  // 80 more than 2^32: would wrap to 80
        {"host:-1", false, "", 0},
        {"host:0", false, "", 0},
        {"host:", false, "", 0},
        {"host:8o", false, "", 0},
        {"host: 80", false, "", 0},
        {":80", false, "", 0},
        {"", false, "", 0},
    };
    for (const HostPortCase& c : cases) {
        char name[kUrlPartSize];
        std::uint16_t port = 0;
        EXPECT_EQ(SplitHostPort(c.hostPart.c_str(), name, port), c.ok) << c.hostPart;
        EXPECT_EQ(name, c.name) << c.hostPart;
        if (c.ok) EXPECT_EQ(port, c.port) << c.hostPart;
    }
}

TEST(SplitHostPort, EveryHostOfTheBuildIsUsable) {
    for (const char* host :
         {kMakerWebHost, kMakerVersionHost, kMakerDownloadHost, kMakerFallbackDownloadHost}) {
        char name[kUrlPartSize];
        std::uint16_t port = 0;
        EXPECT_TRUE(SplitHostPort(host, name, port)) << host;
    }
}

TEST(FormatGetRequest, RequestLineHostAndEmptyLine) {
    char out[kRequestSize];
    const std::string expected = "GET /path HTTP/1.0\r\nHost: host:8080\r\n\r\n";
    EXPECT_EQ(FormatGetRequest("/path", "host:8080", out), expected.size());
    EXPECT_EQ(out, expected);
    FormatGetRequest("", "host", out);
    EXPECT_STREQ(out, "GET  HTTP/1.0\r\nHost: host\r\n\r\n");
}

// What the reader makes of a reply; the reply goes on after the header with "BODY".
struct HeaderCase {
    const char* what;
    std::string header;
    bool bad;  // ended by a zero byte or its size
    bool success;
    bool lengthUsable;
    std::uint32_t length;
};

TEST(ResponseHeaderReader, JudgesStatusAndLengthAndStopsAtTheEmptyLine) {
    const std::string ok = "HTTP/1.0 200 OK\r\n";
    const std::string longLine = "X-Long: " + std::string(5000, 'a') + "\r\n";
    const std::string manyLines = [] {
        std::string lines;
        while (lines.size() <= kMaxHeaderBytes) lines += "X-Filler: 0123456789\r\n";
        return lines;
    }();
    const std::vector<HeaderCase> cases = {
        {"good", ok + "Content-Length: 10\r\n\r\n", false, true, true, 10},
        {"other case, no blank", ok + "content-LENGTH:10\r\n\r\n", false, true, true, 10},
        {"blanks around", ok + "Content-Length: \t 7 \r\n\r\n", false, true, true, 7},
        {"bare line feeds", "HTTP/1.1 204 No Content\nContent-Length: 3\n\n", false, true, true, 3},
        {"CR inside a line", ok + "Content-\rLength: 5\r\n\r\n", false, true, true, 5},
        {"largest length", ok + "Content-Length: 4294967295\r\n\r\n", false, true, true,
         4294967295u},
        {"later length wins", ok + "Content-Length: 9\r\nContent-Length: 4\r\n\r\n", false, true,
         true, 4},
        {"long line cut", ok + longLine + "Content-Length: 5\r\n\r\n", false, true, true, 5},
        {"trailing blanks cut", ok + "Content-Length: 5" + std::string(300, ' ') + "\r\n\r\n",
         false, true, true, 5},
        {"number cut off", ok + "Content-Length:" + std::string(240, ' ') + "123456789\r\n\r\n",
         false, true, false, 0},
        {"no length", ok + "Server: x\r\n\r\n", false, true, false, 0},
        {"zero", ok + "Content-Length: 0\r\n\r\n", false, true, false, 0},
        {"negative", ok + "Content-Length: -1\r\n\r\n", false, true, false, 0},
        {"over 32 bits", ok + "Content-Length: 99999999999\r\n\r\n", false, true, false, 0},
        {"2^32", ok + "Content-Length: 4294967296\r\n\r\n", false, true, false, 0},
        {"junk after", ok + "Content-Length: 12abc\r\n\r\n", false, true, false, 0},
        {"bad length wins", ok + "Content-Length: 9\r\nContent-Length: x\r\n\r\n", false, true,
         false, 0},
        {"no such name", ok + "X-Content-Length: 9\r\n\r\n", false, true, false, 0},
        {"404", "HTTP/1.0 404 Not Found\r\nContent-Length: 9\r\n\r\n", false, false, true, 9},
        {"301", "HTTP/1.1 301 Moved\r\nContent-Length: 9\r\n\r\n", false, false, true, 9},
        {"bare 200", "HTTP/1.1 200\r\nContent-Length: 9\r\n\r\n", false, true, true, 9},
        {"garbage status", "Hello there, this is no web server\r\nContent-Length: 9\r\n\r\n", false,
         false, true, 9},
        {"HTTP/2", "HTTP/2 200 OK\r\nContent-Length: 9\r\n\r\n", false, false, true, 9},
        {"four digits", "HTTP/1.0 2000 OK\r\nContent-Length: 9\r\n\r\n", false, false, true, 9},
        {"lower case version", "http/1.0 200 OK\r\nContent-Length: 9\r\n\r\n", false, false, true,
         9},
        {"length as status line", "Content-Length: 9\r\n\r\n", false, false, false, 0},
        {"empty header", "\r\n", false, false, false, 0},
        {"zero byte", ok + std::string("Content-Length: 9\0\r\n\r\n", 22), true, false, false, 0},
        {"endless header", ok + manyLines + "Content-Length: 9\r\n\r\n", true, false, false, 0},
    };
    for (const HeaderCase& c : cases) {
        const std::string reply = c.header + "BODY";
        ResponseHeaderReader reader;
        ResponseHeaderReader::Step step = ResponseHeaderReader::Step::kMore;
        std::size_t taken = 0;
        while (taken < reply.size()) {
            step = reader.Take(reply[taken++]);
            if (step == ResponseHeaderReader::Step::kHeaderDone ||
                step == ResponseHeaderReader::Step::kBad) {
                break;
            }
        }
        if (c.bad) {
            EXPECT_EQ(step, ResponseHeaderReader::Step::kBad) << c.what;
            EXPECT_FALSE(reader.FitForFile()) << c.what;
            EXPECT_LE(reader.HeaderBytes(), kMaxHeaderBytes + 1) << c.what;
            continue;
        }
        ASSERT_EQ(step, ResponseHeaderReader::Step::kHeaderDone) << c.what;
        EXPECT_EQ(taken, c.header.size()) << c.what << ": no byte of the body is taken";
        EXPECT_EQ(reader.StatusIsSuccess(), c.success) << c.what;
        EXPECT_EQ(reader.LengthUsable(), c.lengthUsable) << c.what;
        if (c.lengthUsable) EXPECT_EQ(reader.Length(), c.length) << c.what;
        EXPECT_EQ(reader.FitForFile(), c.success && c.lengthUsable) << c.what;
    }
}

TEST(ResponseHeaderReader, LinesKeep259CharactersWithoutCarriageReturns) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"HTTP/1.0 200 OK\r\n", "HTTP/1.0 200 OK"},
        {"a\rb\r\r\n", "ab"},
        {std::string(5000, 'x') + "\r\n", std::string(259, 'x')},
        {std::string(258, 'x') + "\r\r\ryz\n", std::string(258, 'x') + "y"},
    };
    for (const auto& [input, line] : cases) {
        ResponseHeaderReader reader;
        ResponseHeaderReader::Step step = ResponseHeaderReader::Step::kMore;
        for (char c : input) step = reader.Take(c);
        EXPECT_EQ(step, ResponseHeaderReader::Step::kLineDone) << line.size();
        EXPECT_EQ(reader.Line(), line);
    }
}

TEST(DownloadProgress, AdvancesOneChunkShareAtATime) {
    const std::vector<std::pair<std::uint32_t, std::vector<int>>> cases = {
        {2056, {50, 100}}, {1500, {68, 137}}, {1028, {100}}, {1, {102800}}, {3084, {33, 66, 100}},
    };
    for (const auto& [length, positions] : cases) {
        std::vector<int> seen;
        double progress = 0;
        for (std::uint32_t remaining = length; remaining > 0;) {
            remaining -= remaining < kBodyChunkSize ? remaining : kBodyChunkSize;
            progress += ProgressStep(length);
            seen.push_back(ProgressBarPosition(progress));
        }
        EXPECT_EQ(seen, positions) << length;
    }
    EXPECT_EQ(ProgressBarPosition(0.685), 68);
    EXPECT_EQ(ProgressBarPosition(-1.0), 0);
    EXPECT_EQ(ProgressBarPosition(std::nan("")), 0);
    EXPECT_EQ(ProgressBarPosition(1e300), 1000000);
}

TEST(MemoryTransferResult, StopWinsThenAnythingReceivedCounts) {
    const struct {
        int code;
        std::size_t received;
        int result;
    } cases[] = {
        {kTransferDone, 0, kTransferFailed},     {kTransferDone, 12, kTransferDone},
        {kTransferFailed, 0, kTransferFailed},   {kTransferFailed, 1, kTransferDone},
        {kTransferStopped, 0, kTransferStopped}, {kTransferStopped, 300, kTransferStopped},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MemoryTransferResult(c.code, c.received), c.result)
            << c.code << " after " << c.received << " bytes";
    }
}

}  // namespace
