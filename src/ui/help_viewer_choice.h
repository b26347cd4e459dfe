// Which viewer shows the manual and where it opens. Windows Vista has no WinHelp viewer (its
// winhlp32.exe only says so), so from Vista on the manual opens as manual.html in the web
// browser; before Vista app.hlp opens in WinHelp. The per-user setting "HelpViewer" ("winhelp"
// or "html") overrides the version, for someone who installed the viewer. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>

// The two forms of the manual, beside the program.
inline constexpr char kWinHelpFileName[] = "app.hlp";
inline constexpr char kHtmlManualFileName[] = "manual.html";
// The per-user value in the "Settings" section that chooses the viewer.
inline constexpr char kHelpViewerSetting[] = "HelpViewer";

enum class HelpViewer { WinHelp, Browser };

// The viewer for a Windows major version (Vista is 6) and the text of "HelpViewer" (empty
// when absent). "winhelp" and "html" choose, in any case and with blanks around them; any
// other text is left to the version, and *unrecognised (when given) is set.
HelpViewer ChooseHelpViewer(std::uint32_t windowsMajor, const char* setting,
                            bool* unrecognised = nullptr);

// app.hlp or manual.html.
const char* HelpFileName(HelpViewer viewer);

// manual.html's target for a help topic: 0 (the contents) "contents", 101 (the settings page)
// "settings", 103 (the invoice data dialog) "invoice"; any other number the contents.
const char* HelpTopicAnchor(std::uint64_t topic);

struct HelpFilesPresent {
    bool winHelpFile;
    bool htmlManual;
};

// What to do for one help request.
struct HelpPlan {
    enum Action { ShowWinHelp, OpenBrowser, ReportMissingFile } action;
    const char* fileName;      // the file shown, or the one that is missing
    const char* anchor;        // the target in manual.html (OpenBrowser only, else "")
    bool settingUnrecognised;  // "HelpViewer" holds a text that chooses nothing
};

// The plan for a topic (as for HelpTopicAnchor) on this Windows version, with this setting
// text and these files present. A missing chosen file is reported, never swapped for the
// other one: WinHelp on Vista would only show its notice.
HelpPlan PlanHelpTopic(std::uint32_t windowsMajor, const char* setting, HelpFilesPresent present,
                       std::uint64_t topic);

// Large enough for any path of 259 characters, every one escaped, and any anchor above.
constexpr std::size_t kManualAddressSize = 1024;

// The file address of a Windows path with an anchor: "C:\A B\manual.html" and "settings"
// give "file:///C:/A%20B/manual.html#settings"; "\\server\share\..." gives
// "file://server/share/...". Blanks, '%', '#', '?', quotes and control characters are
// escaped; bytes above 127 stay as they are (they are the system code page's, not UTF-8).
// An empty anchor adds no '#'. False, with out empty, when the address does not fit.
bool FormManualAddress(const char* path, const char* anchor, char (&out)[kManualAddressSize]);
