#include "setup/setup_rules.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool OnlyBlanks(const std::string& text) {
    for (char c : text) {
        if (!IsBlank(c)) return false;
    }
    return true;
}

StartArguments AfterProgram(const std::string& rest) {
    if (OnlyBlanks(rest)) return {StartArguments::None, ""};
    std::size_t start = 0;
    while (start < rest.size() && IsBlank(rest[start])) ++start;
    return {StartArguments::Present, rest.substr(start)};
}

}  // namespace

const char* const kInstalledFileNames[] = {"quillmet.exe", "app.hlp", "manual.html", "uninst.exe",
                                           "app.gid",      "app.fts", "app.ftg"};

StartArguments ReadStartArguments(const char* rawCommandLine,
                                  const std::function<bool(const std::string&)>& namesThisProgram) {
    std::string line = rawCommandLine != nullptr ? rawCommandLine : "";
    std::size_t start = 0;
    while (start < line.size() && IsBlank(line[start])) ++start;
    line.erase(0, start);

    if (!line.empty() && line[0] == '"') {
        const std::size_t close = line.find('"', 1);
        if (close == std::string::npos) {
            return namesThisProgram(line.substr(1))
                       ? StartArguments{StartArguments::None, ""}
                       : StartArguments{StartArguments::Unrecognised, ""};
        }
        if (!namesThisProgram(line.substr(1, close - 1))) return {StartArguments::Unrecognised, ""};
        return AfterProgram(line.substr(close + 1));
    }
    // Unquoted: the longest leading part that ends at a blank (or the line's end) and names
    // the program is the path; "C:\Program Files\..." has blanks of its own.
    for (std::size_t end = line.size();; --end) {
        if ((end == line.size() || IsBlank(line[end])) && end > 0 &&
            namesThisProgram(line.substr(0, end))) {
            return AfterProgram(line.substr(end));
        }
        if (end == 0) break;
    }
    return {StartArguments::Unrecognised, ""};
}

std::uint32_t WaitProcessIdFromArguments(const std::string& arguments) {
    std::size_t i = 0;
    while (i < arguments.size() && IsBlank(arguments[i])) ++i;
    if (arguments.compare(i, 2, "-u") != 0) return 0;
    i += 2;
    while (i < arguments.size() && IsBlank(arguments[i])) ++i;
    std::uint64_t id = 0;
    bool digits = false;
    for (; i < arguments.size() && arguments[i] >= '0' && arguments[i] <= '9'; ++i) {
        id = id * 10 + static_cast<std::uint64_t>(arguments[i] - '0');
        if (id > 0xFFFFFFFFull) return 0;
        digits = true;
    }
    return digits ? static_cast<std::uint32_t>(id) : 0;
}

bool ShouldRestartElevated(unsigned major, unsigned minor, bool elevated) {
    return major == 6 && minor == 0 && !elevated;
}

bool HasQuietArgument(const std::string& arguments) {
    std::size_t i = 0;
    while (i < arguments.size()) {
        while (i < arguments.size() && IsBlank(arguments[i])) ++i;
        std::size_t end = i;
        while (end < arguments.size() && !IsBlank(arguments[end])) ++end;
        if (arguments.compare(i, end - i, kQuietArgument) == 0) return true;
        i = end;
    }
    return false;
}

bool TempPathUsable(unsigned long reportedLength, std::size_t bufferSize) {
    return reportedLength > 0 && reportedLength < bufferSize;
}

UninstallStep ChooseUninstallStep(const UninstallSituation& situation) {
    if (!situation.restarted && situation.copyReady) {
        return situation.needsElevation ? UninstallStep::StartCopyElevated
                                        : UninstallStep::StartCopy;
    }
    return situation.needsElevation ? UninstallStep::TellRightsNeeded : UninstallStep::AskAndRemove;
}
