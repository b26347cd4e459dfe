#include "settings/system_checks_win32.h"

#include "settings/settings_store_win32.h"
#include "settings/site_pages_win32.h"
#include "settings/system_checks.h"

void ReadWindowsVersion(DWORD& major, DWORD& minor) {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    major = 0;
    minor = 0;
    if (GetVersionExA(&info)) {
        major = info.dwMajorVersion;
        minor = info.dwMinorVersion;
    }
}

bool UserDataFolder(char (&out)[kPathSize]) {
    char base[kPathSize];
    ReadAppDataFolder(base);
    char makerFolder[kPathSize];
    PathJoin(base, "Kestrovan", makerFolder);
    CreateDirectoryA(makerFolder, nullptr);
    PathJoin(makerFolder, "Quillmet", out);
    return CreateDirectoryA(out, nullptr) != FALSE;
}

bool CheckWindowsVersion() {
    DWORD major = 0;
    DWORD minor = 0;
    ReadWindowsVersion(major, minor);
    return ApplyVersionGate(major, minor);
}

bool ApplyVersionGate(DWORD major, DWORD minor) {
    if (WindowsVersionPassesGate(major, minor)) return true;
    char message[kVersionGateMessageSize];
    FormVersionGateMessage(message);
    MessageBoxA(nullptr, message, kVersionGateCaption, MB_OK | MB_ICONERROR);
    OpenSitePage(kVersionGatePage);
    return false;
}

bool IsWindows2000OrLater() {
    DWORD major = 0;
    DWORD minor = 0;
    ReadWindowsVersion(major, minor);
    return IsWindows2000OrLaterVersion(major);
}

bool IsQuietInstall() {
    // A value longer than the buffer is not copied, but the non-zero length still says it is
    // set; an empty value gives zero.
    char value[kPathSize];
    return GetEnvironmentVariableA("LQUIET", value, sizeof value) > 0;
}
