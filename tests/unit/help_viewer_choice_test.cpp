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
        {5, "", kBoth, 0, P::ShowWinHelp, "app.hlp", "", false},  // Windows XP
        {4, "", kBoth, 101, P::ShowWinHelp, "app.hlp", "", false},
        {0, "", kBoth, 0, P::ShowWinHelp, "app.hlp", "", false},              // no version read
        {6, "", kBoth, 0, P::OpenBrowser, "manual.html", "contents", false},  // Vista
        {6, "", kBoth, 101, P::OpenBrowser, "manual.html", "settings", false},
        {6, "", kBoth, 103, P::OpenBrowser, "manual.html", "invoice", false},
        {6, "", kBoth, 102, P::OpenBrowser, "manual.html", "contents", false},
        {10, "", kBoth, 103, P::OpenBrowser, "manual.html", "invoice", false},
        // The setting overrides the version either way.
        {6, "winhelp", kBoth, 101, P::ShowWinHelp, "app.hlp", "", false},
        {6, " WinHelp\t", kBoth, 101, P::ShowWinHelp, "app.hlp", "", false},
        {5, "html", kBoth, 103, P::OpenBrowser, "manual.html", "invoice", false},
        {5, "HTML", kBoth, 0, P::OpenBrowser, "manual.html", "contents", false},
        {5, "  ", kBoth, 0, P::ShowWinHelp, "app.hlp", "", false},
        // A text that chooses nothing is reported and the version decides.
        {6, "chm", kBoth, 101, P::OpenBrowser, "manual.html", "settings", true},
        {5, "win help", kBoth, 0, P::ShowWinHelp, "app.hlp", "", true},
        {5, "htmlx", kBoth, 0, P::ShowWinHelp, "app.hlp", "", true},
        // The chosen file missing is named; the other one is not taken instead.
        {6, "", kHlpOnly, 101, P::ReportMissingFile, "manual.html", "", false},
        {5, "", kHtmlOnly, 101, P::ReportMissingFile, "app.hlp", "", false},
        {6, "winhelp", kHtmlOnly, 0, P::ReportMissingFile, "app.hlp", "", false},
        {5, "html", kHlpOnly, 0, P::ReportMissingFile, "manual.html", "", false},
        {6, "chm", {false, false}, 0, P::ReportMissingFile, "manual.html", "", true},
    };
    for (const auto& row : rows) {
        const HelpPlan plan = PlanHelpTopic(row.major, row.setting, row.present, row.topic);
        const std::string where = std::to_string(row.major) + " \"" + row.setting + "\" " +
                                  std::to_string(row.topic) + " hlp " +
                                  std::to_string(row.present.winHelpFile) + " html " +
                                  std::to_string(row.present.htmlManual);
        EXPECT_EQ(plan.action, row.action) << where;
        EXPECT_STREQ(plan.fileName, row.file) << where;
        EXPECT_STREQ(plan.anchor, row.anchor) << where;
        EXPECT_EQ(plan.settingUnrecognised, row.unrecognised) << where;
        // The Start-menu shortcut, shared by every user, follows the version alone.
        if (row.setting[0] == '\0') {
            EXPECT_STREQ(HelpFileName(ChooseHelpViewer(row.major, "")), row.file) << where;
        }
    }
    EXPECT_EQ(ChooseHelpViewer(6, nullptr), HelpViewer::Browser);
}

TEST(HelpViewerChoice, TheManualsAddressIsAFileAddressWithItsAnchor) {
    const std::string longFolder(259 - 12, 'x');  // with "\manual.html", a 259-character path
    const std::string blankFolder(259 - 12, ' ');
    std::string blanksEscaped;
    for (std::size_t i = 0; i < blankFolder.size(); ++i) blanksEscaped += "%20";
    const struct {
        std::string path;
        const char* anchor;
        std::string address;
    } rows[] = {
        {"C:\\Program Files\\Kestrovan\\Quillmet\\manual.html", "settings",
         "file:///C:/Program%20Files/Kestrovan/Quillmet/manual.html#settings"},
        {"C:\\manual.html", "contents", "file:///C:/manual.html#contents"},
        {"\\\\server\\share\\Quillmet\\manual.html", "invoice",
         "file://server/share/Quillmet/manual.html#invoice"},
        {"C:\\100% #1?\\\"q\"\\manual.html", "", "file:///C:/100%25%20%231%3F/%22q%22/manual.html"},
        {"C:\\Caf\xE9\\tab\tx\\manual.html", "contents",
         "file:///C:/Caf\xE9/tab%09x/manual.html#contents"},
        {"C:\\" + longFolder + "\\manual.html", "contents",
         "file:///C:/" + longFolder + "/manual.html#contents"},
        {"C:\\" + blankFolder + "\\manual.html", "invoice",
         "file:///C:/" + blanksEscaped + "/manual.html#invoice"},
    };
    for (const auto& row : rows) {
        char address[kManualAddressSize];
        EXPECT_TRUE(FormManualAddress(row.path.c_str(), row.anchor, address)) << row.path;
        EXPECT_EQ(address, row.address);
    }
    // What cannot fit is refused whole, never cut.
    char address[kManualAddressSize];
    const std::string tooLong(kManualAddressSize, 'y');
    EXPECT_FALSE(FormManualAddress(tooLong.c_str(), "contents", address));
    EXPECT_STREQ(address, "");
    EXPECT_FALSE(FormManualAddress(std::string(kManualAddressSize / 3, '%').c_str(), "", address));
    EXPECT_STREQ(address, "");
}

}  // namespace
