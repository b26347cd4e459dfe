// The periodic checks' rules: what a call stores and does, how the version file is read, and
// when a version is offered.
#include "net/periodic_checks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PeriodicChecks, PlanFromTheTimeAndTheStoredValues) {
    constexpr std::int64_t now = 2000000000;
    const std::string t[] = {std::to_string(now - 3888000), std::to_string(now - 3888001),
                             std::to_string(now - 7776000), std::to_string(now - 7776001),
                             std::to_string(now - 10),      std::to_string(now + 1)};
    const char *atReminder = t[0].c_str(), *reminderDue = t[1].c_str();
    const char *atUpdate = t[2].c_str(), *updateDue = t[3].c_str();
    const char *recent = t[4].c_str(), *future = t[5].c_str();
    using A = PeriodicAction;
    const struct {
        std::int64_t now;
        PeriodicValues values;
        bool storeRelatedPDate, markRelatedPCheck, storeVCheckDate;
        A action;
    } cases[] = {
        {now, {"", "", ""}, true, false, true, A::kNothing},  // first call
        {now, {"", atReminder, recent}, false, false, false, A::kNothing},
        {now, {"0", reminderDue, recent}, false, true, false, A::kShowReminder},
        {now, {"", reminderDue, updateDue}, false, true, false, A::kShowReminder},
        {now, {"1", reminderDue, atUpdate}, false, false, false, A::kNothing},
        {now, {"1", "", updateDue}, false, false, true, A::kCheckForUpdate},
        {now, {"", "", updateDue}, true, false, true, A::kCheckForUpdate},
        {now, {"", future, future}, false, false, false, A::kNothing},  // clock set back
        {now, {"1", "", "-2147483648"}, false, false, true, A::kCheckForUpdate},
        {now, {"", "-2147483648", recent}, false, true, false, A::kShowReminder},
        {now, {"1", "", "99999999999999999999999"}, false, false, false, A::kNothing},
        {4102444800, {"1", "", "2147483647"}, false, false, true, A::kCheckForUpdate},
    };
    for (const auto& c : cases) {
        const PeriodicPlan plan = PlanPeriodicChecks(c.now, c.values);
        const std::string row = std::string(c.values.relatedPCheck) + "|" + c.values.relatedPDate +
                                "|" + c.values.vCheckDate;
        EXPECT_EQ(plan.storeRelatedPDate, c.storeRelatedPDate) << row;
        EXPECT_EQ(plan.markRelatedPCheck, c.markRelatedPCheck) << row;
        EXPECT_EQ(plan.storeVCheckDate, c.storeVCheckDate) << row;
        EXPECT_EQ(plan.action, c.action) << row;
    }
    char text[32];
    FormatStoredTime(4102444800, text);
    EXPECT_EQ(ParseStoredTime(text), 4102444800);
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
        {ok + "version=9999999.99", 999999999, ""},
        {ok + "version=12345678.00", -1, ""},
        {ok + "version=.5", -1, ""},
        {ok + "version=1e3", 100, ""},
        // Only a 2xx reply counts, and only its body.
        {"HTTP/1.1 404 Not Found\r\n\r\nversion=9.99&info=http://h/&", -1, ""},
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
        {ok + "info=http://h/end", -1, "http://h/end"},
        {ok + "info=" + info259 + "&", -1, info259},
        {ok + "info=" + info259 + "q&", -1, ""},
        {ok + "info=winver&", -1, ""},
        {ok + "info=file:///c:/windows/winver.exe&", -1, ""},
        {ok + "info=C:\\windows\\winver.exe", -1, ""},
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
    const int cases[][3] = {{113, 112, 1}, {106, kOwnVersion, 1}, {105, kOwnVersion, 0},
                            {50, 40, 0},   {200, 99, 0},          {-1, kOwnVersion, 0}};
    for (const auto& c : cases) {
        VersionFile file;
        file.version = c[0];
        EXPECT_EQ(ShouldOfferUpdate(file, c[1]), c[2] == 1) << c[0] << " over " << c[1];
    }
    char address[kInfoAddressSize];
    VersionFileAddress("Versions.Example:8080", address);
    EXPECT_STREQ(address, "http://versions.example:8080/versions/quillmet.txt");
}

}  // namespace
