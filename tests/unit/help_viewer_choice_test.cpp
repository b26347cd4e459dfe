// Which viewer shows the manual: the Windows version, the "HelpViewer" setting and the files
// present go in, the plan comes out; and the browser address of the HTML manual.
#include <gtest/gtest.h>

#include <string>

#include "ui/help_viewer_choice.h"

namespace {

TEST(HelpViewerChoice, VersionSettingAndFilesGiveThePlan) {
    using P = HelpPlan;
    constexpr HelpFilesPresent kBoth{true, true}, kHlpOnly{true, false}, kHtmlOnly{false, true};
    const struct {
        unsigned major;
        const char* setting;
        HelpFilesPresent present;
        std::uint64_t topic;
        P::Action action;
        const char* file;
        const char* anchor;
        bool unrecognised;
    } rows[] = {
        {5, "", kBoth, 0, P::ShowWinHelp, "app.hlp", "", false},              // Windows XP
        {0, "", kBoth, 101, P::ShowWinHelp, "app.hlp", "", false},            // no version read
        {6, "", kBoth, 0, P::OpenBrowser, "manual.html", "contents", false},  // Vista
        {6, "", kBoth, 101, P::OpenBrowser, "manual.html", "settings", false},
        {6, "", kBoth, 102, P::OpenBrowser, "manual.html", "contents", false},
        {6, " WinHelp\t", kBoth, 101, P::ShowWinHelp, "app.hlp", "", false},
        {5, "HTML", kBoth, 103, P::OpenBrowser, "manual.html", "invoice", false},
        {6, "chm", kBoth, 101, P::OpenBrowser, "manual.html", "settings", true},
        {5, "htmlx", kBoth, 0, P::ShowWinHelp, "app.hlp", "", true},
        // The chosen file missing is named; the other one is not taken instead.
        {6, "", kHlpOnly, 101, P::ReportMissingFile, "manual.html", "", false},
        {5, "", kHtmlOnly, 101, P::ReportMissingFile, "app.hlp", "", false},
    };
    for (const auto& row : rows) {
        const HelpPlan plan = PlanHelpTopic(row.major, row.setting, row.present, row.topic);
        SCOPED_TRACE(testing::Message()
                     << row.major << " \"" << row.setting << "\" " << row.topic << " "
                     << row.present.winHelpFile << row.present.htmlManual);
        EXPECT_EQ(plan.action, row.action);
        EXPECT_STREQ(plan.fileName, row.file);
        EXPECT_STREQ(plan.anchor, row.anchor);
        EXPECT_EQ(plan.settingUnrecognised, row.unrecognised);
    }
    // The Start-menu shortcut, shared by every user, follows the version alone.
    EXPECT_STREQ(HelpFileName(ChooseHelpViewer(5, "")), "app.hlp");
    EXPECT_STREQ(HelpFileName(ChooseHelpViewer(6, nullptr)), "manual.html");
}

TEST(HelpViewerChoice, TheManualsAddressIsAFileAddressWithItsAnchor) {
    // The longest path, every character escaped, still fits.
    const std::string blanks(259 - 15, ' ');
    std::string escaped;
    for (std::size_t i = 0; i < blanks.size(); ++i) escaped += "%20";
    const struct {
        std::string path;
        const char* anchor;
        std::string address;
    } rows[] = {
        {"C:\\Program Files\\Kestrovan\\Quillmet\\manual.html", "settings",
         "file:///C:/Program%20Files/Kestrovan/Quillmet/manual.html#settings"},
        {"\\\\server\\share\\Quillmet\\manual.html", "invoice",
         "file://server/share/Quillmet/manual.html#invoice"},
        {"C:\\100% #1?\\\"q\"\t\\manual.html", "",
         "file:///C:/100%25%20%231%3F/%22q%22%09/manual.html"},
        {"C:\\Caf\xE9\\manual.html", "contents", "file:///C:/Caf\xE9/manual.html#contents"},
        {"C:\\" + blanks + "\\manual.html", "contents",
         "file:///C:/" + escaped + "/manual.html#contents"},
    };
    char address[kManualAddressSize];
    for (const auto& row : rows) {
        EXPECT_TRUE(FormManualAddress(row.path.c_str(), row.anchor, address)) << row.path;
        EXPECT_EQ(address, row.address);
    }
    // What cannot fit is refused whole, never cut.
    EXPECT_FALSE(FormManualAddress(std::string(kManualAddressSize / 3, '%').c_str(), "", address));
    EXPECT_STREQ(address, "");
}

}  // namespace
