#include "setup/uninstaller_win32.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "settings/paths.h"
#include "settings/run_at_logon_win32.h"
#include "settings/settings_store_win32.h"
#include "setup/elevation_win32.h"
#include "setup/install_steps_win32.h"
#include "setup/setup_rules.h"

namespace {

constexpr DWORD kFirstProcessWaitMs = 10000;

// The long, full form of a path, for comparing two ways of writing it; as given when the file
// does not exist.
std::string LongFullPath(const std::string& path) {
    char full[MAX_PATH] = {};
    if (GetFullPathNameA(path.c_str(), sizeof full, full, nullptr) == 0) return path;
    char longPath[MAX_PATH] = {};
    const DWORD length = GetLongPathNameA(full, longPath, sizeof longPath);
    return length > 0 && length < sizeof longPath ? longPath : full;
}

bool SamePath(const std::string& a, const std::string& b) {
    return lstrcmpiA(LongFullPath(a).c_str(), LongFullPath(b).c_str()) == 0;
}

void WaitForProcess(std::uint32_t processId) {
    if (processId == 0) return;
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (process == nullptr) return;
    WaitForSingleObject(process, kFirstProcessWaitMs);
    CloseHandle(process);
}

// Starts the temporary copy with "-u <this process>"; elevated where the system needs it.
// Not WinExec: it waits until the new process takes input, while the copy waits for this
// process to end first.
bool StartTemporaryCopy(const char* copy) {
    char parameters[32];
    std::snprintf(parameters, sizeof parameters, "-u %lu", GetCurrentProcessId());
    if (NeedsElevatedRestart() && StartElevated(copy, parameters)) return true;
    char command[kPathSize + 40];
    std::snprintf(command, sizeof command, "\"%s\" %s", copy, parameters);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(copy, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

void RemoveProgramFolder() {
    char base[kSettingsTextSize];
    if (!ReadRegistryString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion",
                            "ProgramFilesDir", "C:\\Program Files", base)) {
        return;
    }
    char maker[kPathSize];
    char folder[kPathSize];
    PathJoin(base, "Kestrovan", maker);
    PathJoin(maker, "Quillmet", folder);
    // Only the installation's own files: a user's invoice file may lie here too.
    for (int i = 0; i < kInstalledFileCount; ++i) {
        char file[kPathSize];
        PathJoin(folder, kInstalledFileNames[i], file);
        DeleteFileA(file);
    }
    RemoveDirectoryA(folder);
    RemoveDirectoryA(maker);
}

// Deletes the key only when it holds neither sub-keys nor values.
void DeleteKeyIfEmpty(HKEY root, const char* path, FARPROC deleteEmptyKey) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
    DWORD subKeys = 1;
    DWORD values = 1;
    const bool empty =
        RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                         nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
        subKeys == 0 && values == 0;
    RegCloseKey(key);
    if (!empty) return;
    using DeleteEmptyKey = LONG(WINAPI*)(HKEY, LPCSTR);
    reinterpret_cast<DeleteEmptyKey>(reinterpret_cast<void*>(deleteEmptyKey))(root, path);
}

}  // namespace

void StartUninstall() {
    char own[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, own, sizeof own - 1);
    const StartArguments start =
        ReadStartArguments(GetCommandLineA(), [&](const std::string& candidate) {
            return SamePath(candidate, own) || SamePath(candidate + ".exe", own);
        });
    const bool hasArguments = start.kind == StartArguments::Present ||
                              (start.kind == StartArguments::Unrecognised && __argc > 1);

    char tempFolder[MAX_PATH] = {};
    GetTempPathA(sizeof tempFolder, tempFolder);
    char copy[kPathSize];
    PathJoin(tempFolder, "uninst.exe", copy);

    if (!hasArguments) {
        if (CopyFileA(own, copy, FALSE) && StartTemporaryCopy(copy)) return;
    } else {
        // The installed uninstaller must have ended before its file can be deleted.
        WaitForProcess(WaitProcessIdFromArguments(start.arguments));
    }
    // The temporary copy cannot delete itself: it goes at the next start of Windows.
    if (SamePath(own, copy)) MoveFileExA(own, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);

    if (MessageBoxA(nullptr, "Are you sure you want to remove this program from this computer?",
                    "Uninstall Quillmet", MB_YESNO | MB_ICONHAND) == IDYES) {
        RemoveInstallation();
    }
}

void RemoveInstallation() {
    DeleteRunValue(SettingsScope::MachineWide);
    DeleteRunValue(SettingsScope::PerUser);

    HKEY versionKey = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0,
                      KEY_ALL_ACCESS, &versionKey) == ERROR_SUCCESS) {
        RegDeleteKeyA(versionKey, "Uninstall\\Quillmet");
        RegCloseKey(versionKey);
    }

    RemoveProgramsMenuShortcut("Quillmet");
    RemoveProgramsMenuShortcut("Quillmet Help");
    char menuFolder[kPathSize];
    if (ProgramsMenuFolder(menuFolder)) RemoveDirectoryA(menuFolder);
    char desktopLink[kPathSize];
    DesktopShortcutPath(desktopLink);
    DeleteFileA(desktopLink);

    RemoveProgramFolder();

    HMODULE shlwapi = LoadLibraryA("shlwapi");
    if (shlwapi == nullptr) return;
    if (FARPROC deleteKey = GetProcAddress(shlwapi, "SHDeleteKeyA")) {
        using DeleteKey = LONG(WINAPI*)(HKEY, LPCSTR);
        auto call = reinterpret_cast<DeleteKey>(reinterpret_cast<void*>(deleteKey));
        call(HKEY_LOCAL_MACHINE, "Software\\Kestrovan\\Quillmet");
        call(HKEY_CURRENT_USER, "Software\\Kestrovan\\Quillmet");
    }
    if (FARPROC deleteEmptyKey = GetProcAddress(shlwapi, "SHDeleteEmptyKeyA")) {
        DeleteKeyIfEmpty(HKEY_LOCAL_MACHINE, "Software\\Kestrovan", deleteEmptyKey);
        DeleteKeyIfEmpty(HKEY_CURRENT_USER, "Software\\Kestrovan", deleteEmptyKey);
    }
    FreeLibrary(shlwapi);
}
