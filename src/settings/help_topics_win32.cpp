// Help for every window: the manual opens in WinHelp or in the web browser, as the Windows
// version and the "HelpViewer" setting choose (ui/help_viewer_choice.h).
#include "settings/help_topics_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "base/paths.h"
#include "settings/settings_store_win32.h"
#include "settings/system_checks_win32.h"
#include "ui/help_viewer_choice.h"

namespace {

constexpr char kCaption[] = "Error";

bool FileExists(const char* path) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void ReportUnrecognisedSetting(HWND window, const char* setting) {
    char text[kSettingsTextSize + 256];
    std::snprintf(text, sizeof text,
                  "The setting \"%s\" is \"%s\", which names no help viewer: it may be "
                  "\"winhelp\" or \"html\". The manual opens as usual on this version of Windows.",
                  kHelpViewerSetting, setting);
    MessageBoxA(window, text, kCaption, MB_OK | MB_ICONWARNING);
}

void ReportHelpFile(HWND window, const char* format, const char* path) {
    char text[MAX_PATH + 256];
    std::snprintf(text, sizeof text, format, path);
    MessageBoxA(window, text, kCaption, MB_OK | MB_ICONERROR);
}

// In the browser that opens web addresses: the "http" class's open command, given the file
// address. The address alone would be turned into a path by the shell, and its anchor lost.
bool OpenInBrowser(HWND window, const char* address) {
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_CLASSNAME | SEE_MASK_FLAG_NO_UI;
    info.hwnd = window;
    info.lpClass = "http";
    info.lpFile = address;
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExA(&info) != FALSE;
}

}  // namespace

void HelpFilePath(const char* fileName, char (&path)[MAX_PATH]) {
    // The running module's own file: the command line may name the program relatively.
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, sizeof program - 1);
    char folder[kPathSize];
    PathDirectory(program, folder);
    PathJoin(folder, fileName, path);
}

void ShowHelpTopic(HWND window, UINT command, ULONG_PTR data) {
    DWORD major = 0;
    DWORD minor = 0;
    ReadWindowsVersion(major, minor);
    char setting[kSettingsTextSize];
    SettingsStore::ReadString(SettingsScope::PerUser, "Settings", kHelpViewerSetting, "", setting);
    char winHelpFile[MAX_PATH];
    char htmlManual[MAX_PATH];
    HelpFilePath(kWinHelpFileName, winHelpFile);
    HelpFilePath(kHtmlManualFileName, htmlManual);
    const HelpPlan plan =
        PlanHelpTopic(major, setting, {FileExists(winHelpFile), FileExists(htmlManual)},
                      command == HELP_CONTEXT ? data : 0);

    if (plan.settingUnrecognised) ReportUnrecognisedSetting(window, setting);
    char address[kManualAddressSize];
    switch (plan.action) {
        case HelpPlan::ShowWinHelp:
            WinHelpA(window, winHelpFile, command, data);
            break;
        case HelpPlan::OpenBrowser:
            if (!FormManualAddress(htmlManual, plan.anchor, address) ||
                !OpenInBrowser(window, address)) {
                ReportHelpFile(window, "No web browser could be started to show the manual \"%s\".",
                               htmlManual);
            }
            break;
        case HelpPlan::ReportMissingFile:
            ReportHelpFile(
                window,
                "The manual \"%s\" cannot be found. Run the Quillmet set-up program "
                "again to put it back.",
                std::strcmp(plan.fileName, kWinHelpFileName) == 0 ? winHelpFile : htmlManual);
            break;
    }
}
