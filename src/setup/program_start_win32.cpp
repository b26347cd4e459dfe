#include "setup/program_start_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "base/paths.h"
#include "settings/system_checks_win32.h"
#include "setup/setup_rules.h"

namespace {

// TokenElevation and its answer, which headers for Windows XP do not declare.
constexpr int kTokenElevationClass = 20;
struct TokenElevationInfo {
    DWORD isElevated;
};

bool ProcessIsElevated() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    TokenElevationInfo elevation{};
    DWORD size = 0;
    const bool known =
        GetTokenInformation(token, static_cast<TOKEN_INFORMATION_CLASS>(kTokenElevationClass),
                            &elevation, sizeof elevation, &size) != FALSE;
    CloseHandle(token);
    // A system that cannot answer has no elevation to ask for.
    return !known || elevation.isElevated != 0;
}

}  // namespace

bool NeedsElevatedRestart() {
    DWORD major = 0;
    DWORD minor = 0;
    ReadWindowsVersion(major, minor);
    if (!ShouldRestartElevated(major, minor, true)) return false;
    return ShouldRestartElevated(major, minor, ProcessIsElevated());
}

bool StartElevated(const char* program, const char* parameters) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.lpVerb = "runas";
    info.lpFile = program;
    info.lpParameters = parameters;
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExA(&info) != FALSE;
}

bool StartProgram(const char* program, const char* parameters) {
    char command[kPathSize + 64];
    std::snprintf(command, sizeof command, "\"%s\" %s", program, parameters);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}
