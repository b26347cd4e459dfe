#include "ui/help_viewer_choice.h"

#include <cstring>

namespace {

constexpr std::uint32_t kVistaMajor = 6;

struct TopicAnchor {
    std::uint64_t topic;
    const char* anchor;
};
// The context numbers the program opens and their targets in manual.html; the first row is
// also the target of any other number.
constexpr TopicAnchor kTopicAnchors[] = {{0, "contents"}, {101, "settings"}, {103, "invoice"}};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Whether text, without the blanks around it, is word in any case.
bool SettingIs(const char* text, const char* word) {
    while (IsBlank(*text)) ++text;
    std::size_t length = std::strlen(text);
    while (length > 0 && IsBlank(text[length - 1])) --length;
    if (length != std::strlen(word)) return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (Lower(text[i]) != word[i]) return false;
    }
    return true;
}

bool NeedsEscape(unsigned char c) {
    return c < 0x20 || c == 0x7F || std::strchr(" \"%#?<>`{}|^", c) != nullptr;
}

}  // namespace

HelpViewer ChooseHelpViewer(std::uint32_t windowsMajor, const char* setting, bool* unrecognised) {
    const char* text = setting != nullptr ? setting : "";
    if (unrecognised != nullptr) *unrecognised = false;
    if (SettingIs(text, "winhelp")) return HelpViewer::WinHelp;
    if (SettingIs(text, "html")) return HelpViewer::Browser;
    if (!SettingIs(text, "") && unrecognised != nullptr) *unrecognised = true;
    return windowsMajor < kVistaMajor ? HelpViewer::WinHelp : HelpViewer::Browser;
}

const char* HelpFileName(HelpViewer viewer) {
    return viewer == HelpViewer::WinHelp ? kWinHelpFileName : kHtmlManualFileName;
}

const char* HelpTopicAnchor(std::uint64_t topic) {
    for (const TopicAnchor& row : kTopicAnchors) {
        if (row.topic == topic) return row.anchor;
    }
    return kTopicAnchors[0].anchor;
}

HelpPlan PlanHelpTopic(std::uint32_t windowsMajor, const char* setting, HelpFilesPresent present,
                       std::uint64_t topic) {
    HelpPlan plan{HelpPlan::ShowWinHelp, kWinHelpFileName, "", false};
    const HelpViewer viewer = ChooseHelpViewer(windowsMajor, setting, &plan.settingUnrecognised);
    plan.fileName = HelpFileName(viewer);
    if (viewer == HelpViewer::WinHelp) {
        if (!present.winHelpFile) plan.action = HelpPlan::ReportMissingFile;
        return plan;
    }
    plan.action = present.htmlManual ? HelpPlan::OpenBrowser : HelpPlan::ReportMissingFile;
    if (present.htmlManual) plan.anchor = HelpTopicAnchor(topic);
    return plan;
}

bool FormManualAddress(const char* path, const char* anchor, char (&out)[kManualAddressSize]) {
    static const char kHex[] = "0123456789ABCDEF";
    std::size_t length = 0;
    bool fits = true;
    const auto put = [&](char c) {
        if (length + 1 >= sizeof out) {
            fits = false;
            return;
        }
        out[length++] = c;
    };
    const auto putText = [&](const char* text) {
        while (*text != '\0') put(*text++);
    };
    const char* p = path != nullptr ? path : "";
    // A share's address names its server as the host; a drive path has an empty host.
    const bool share = (p[0] == '\\' || p[0] == '/') && (p[1] == '\\' || p[1] == '/');
    putText(share ? "file:" : "file:///");
    for (; *p != '\0'; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c == '\\') {
            put('/');
        } else if (NeedsEscape(c)) {
            put('%');
            put(kHex[c >> 4]);
            put(kHex[c & 0xF]);
        } else {
            put(static_cast<char>(c));
        }
    }
    if (anchor != nullptr && anchor[0] != '\0') {
        put('#');
        putText(anchor);
    }
    out[fits ? length : 0] = '\0';
    return fits;
}
