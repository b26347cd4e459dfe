// The periodic checks' rules: what a call stores and does, how the version file is read, and
// when a version is offered.
#include "net/periodic_checks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PeriodicChecks, PlanFromTheTimeAndTheStoredValues) {
    constexpr std::int64_t now = 2000000000;
    const std::string justBeforeReminder = std::to_string(now - 3888000);
    const std::string reminderDue = std::to_string(now - 3888001);
    const std::string justBeforeUpdate = std::to_string(now - 7776000);
    const std::string updateDue = std::to_string(now - 7776001);
    const std::string future = std::to_string(now + 1);
    const std::string recent = std::to_string(now - 10);
    using A = PeriodicAction;
    const struct {
        const char* name;
        std::int64_t now;
        PeriodicValues values;
        bool storeRelatedPDate, markRelatedPCheck, storeVCheckDate;
        A action;
    } cases[] = {
        {"first call", now, {"", "", ""}, true, false, true, A::kNothing},
        {"reminder at exactly 45 days",
         now,
         {"", justBeforeReminder.c_str(), recent.c_str()},
         false,
         false,
         false,
         A::kNothing},
        {"reminder after 45 days",
         now,
         {"0", reminderDue.c_str(), recent.c_str()},
         false,
         true,
         false,
         A::kShowReminder},
        {"reminder pre-empts a due check",
         now,
         {"", reminderDue.c_str(), updateDue.c_str()},
         false,
         true,
         false,
         A::kShowReminder},
        {"reminder shown, check at exactly 90 days",
         now,
         {"1", reminderDue.c_str(), justBeforeUpdate.c_str()},
         false,
         false,
         false,
         A::kNothing},
        {"check after 90 days",
         now,
         {"1", "", updateDue.c_str()},
         false,
         false,
         true,
         A::kCheckForUpdate},
        {"first date missing, check due",
         now,
         {"", "", updateDue.c_str()},
         true,
         false,
         true,
         A::kCheckForUpdate},
        {"clock set back",
         now,
         {"", future.c_str(), future.c_str()},
         false,
         false,
         false,
         A::kNothing},
        {"lowest 32-bit check date",
         now,
         {"1", "", "-2147483648"},
         false,
         false,
         true,
         A::kCheckForUpdate},
        {"lowest 32-bit first date",
         now,
         {"", "-2147483648", recent.c_str()},
         false,
         true,
         false,
         A::kShowReminder},
        {"date beyond 64 bits",
         now,
         {"1", "", "99999999999999999999999"},
         false,
         false,
         false,
         A::kNothing},
        {"now beyond 2038",
         4102444800,
         {"1", "", "2147483647"},
         false,
         false,
         true,
         A::kCheckForUpdate},
        {"unreadable check date", now, {"1", "", "soon"}, false, false, true, A::kNothing},
    };
    for (const auto& c : cases) {
        const PeriodicPlan plan = PlanPeriodicChecks(c.now, c.values);
        EXPECT_EQ(plan.storeRelatedPDate, c.storeRelatedPDate) << c.name;
        EXPECT_EQ(plan.markRelatedPCheck, c.markRelatedPCheck) << c.name;
        EXPECT_EQ(plan.storeVCheckDate, c.storeVCheckDate) << c.name;
        EXPECT_EQ(plan.action, c.action) << c.name;
    }
    char text[32];
    FormatStoredTime(4102444800, text);
    EXPECT_STREQ(text, "4102444800");
    EXPECT_EQ(ParseStoredTime(text), 4102444800);
    EXPECT_EQ(ParseStoredTime(" -2147483648"), -2147483648LL);
}

TEST(PeriodicChecks, VersionFileReply) {
    const std::string ok = "HTTP/1.0 200 OK\r\n\r\n";
    const std::string info259 = "http://h/" + std::string(250, 'p');
    const struct {
        std::string reply;
        int version;
        std::string info;
    } cases[] = {
        {ok + "version=1.13&info=http://h/p&", 113, "http://h/p"},
        {ok + "version=1.12", 112, ""},
        {ok + "version=2.00&", 200, ""},
        {"HTTP/1.1 200 OK\nServer: x\n\nversion=2.01&", 201, ""},
        {ok + "version=0.5&", 50, ""},
        {ok + "version=1&", 100, ""},
        {ok + "version=1.999", 199, ""},
        {ok + "version=9999999.99", 999999999, ""},
        {ok + "version=12345678.00", -1, ""},
        {ok + "version=.5", -1, ""},
        {ok + "version=+1.5", -1, ""},
        {ok + "version=1e3", 100, ""},
        // Only a 2xx reply counts, and only its body.
        {"HTTP/1.1 404 Not Found\r\n\r\nversion=9.99&info=http://h/&", -1, ""},
        {"HTTP/1.0 302 Found\r\nLocation: http://h/\r\n\r\nversion=9.99", -1, ""},
        {"HTTP/1.0 200 OK\r\nSet-Cookie: version=9.99; info=http://h/&\r\n\r\nhi", -1, ""},
        {"version=9.99&info=http://h/&", -1, ""},
        {"HTTP/1.0 200 OK\r\nversion=9.99&", -1, ""},
        {"<html>version=9.99</html>\r\n\r\nversion=9.99", -1, ""},
        // An announced length: a shorter body counts for nothing, a longer one is cut.
        {"HTTP/1.0 200 OK\r\nContent-Length: 30\r\n\r\nversion=2.01&", -1, ""},
        {"HTTP/1.0 200 OK\r\nContent-Length: 13\r\n\r\nversion=2.01&info=http://h/&", 201, ""},
        {"HTTP/1.0 200 OK\r\nContent-Length: x\r\n\r\nversion=2.01&", -1, ""},
        // The info address: its endings, its schemes, its length.
        {ok + "info=http://h/a b", -1, "http://h/a"},
        {ok + "info=HTTPS://h/\r\nmore", -1, "HTTPS://h/"},
        {ok + "info=http://h/x\tY", -1, "http://h/x"},
        {ok + "info=http://h/end", -1, "http://h/end"},
        {ok + "info=" + info259 + "&", -1, info259},
        {ok + "info=" + info259 + "q&", -1, ""},
        {ok + "info=winver&", -1, ""},
        {ok + "info=file:///c:/windows/winver.exe&", -1, ""},
        {ok + "info=C:\\windows\\winver.exe", -1, ""},
        {ok + "info=http:/h/", -1, ""},
    };
    for (const auto& c : cases) {
        const VersionFile file = ReadVersionFile(c.reply.c_str(), c.reply.size());
        EXPECT_EQ(file.version, c.version) << c.reply;
        EXPECT_EQ(file.info, c.info) << c.reply;
    }
    // The text ends at a zero byte or at the given length.
    const std::string cut = ok + "version=2.34";
    EXPECT_EQ(ReadVersionFile(cut.c_str(), cut.size() - 1).version, 230);
    EXPECT_EQ(ReadVersionFile((ok + std::string(1, '\0') + "version=2").c_str(), 30).version, -1);
}

TEST(PeriodicChecks, OfferAndAddress) {
    const struct {
        int version, last;
        bool offered;
    } cases[] = {
        {113, 112, true}, {106, kOwnVersion, true}, {105, kOwnVersion, false},
        {50, 40, false},  {200, 99, false},         {-1, kOwnVersion, false},
    };
    for (const auto& c : cases) {
        VersionFile file;
        file.version = c.version;
        EXPECT_EQ(ShouldOfferUpdate(file, c.last), c.offered) << c.version << " over " << c.last;
    }
    char address[kInfoAddressSize];
    VersionFileAddress("Versions.Example:8080", address);
    EXPECT_STREQ(address, "http://versions.example:8080/versions/quillmet.txt");
}

}  // namespace
