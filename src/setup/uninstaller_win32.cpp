#include "setup/uninstaller_win32.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/paths.h"
#include "base/registry_key_win32.h"
#include "settings/run_at_logon_win32.h"
#include "settings/settings_store_win32.h"
#include "setup/install_steps_win32.h"
#include "setup/program_start_win32.h"
#include "setup/setup_rules.h"
#include "setup/start_arguments_win32.h"

namespace {

constexpr DWORD kFirstProcessWaitMs = 10000;
const char kCaption[] = "Uninstall Quillmet";

void WaitForProcess(std::uint32_t processId) {
    if (processId == 0) return;
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (process == nullptr) return;
    WaitForSingleObject(process, kFirstProcessWaitMs);
    CloseHandle(process);
}

// Starts the temporary copy with "-u <this process>", through the "runas" verb when elevated.
// Not WinExec: it waits until the new process takes input, while the copy waits for this
// process to end first.
bool StartTemporaryCopy(const char* copy, bool elevated) {
    char parameters[32];
    std::snprintf(parameters, sizeof parameters, "-u %lu", GetCurrentProcessId());
    return elevated ? StartElevated(copy, parameters) : StartProgram(copy, parameters);
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
    DWORD subKeys = 1;
    DWORD values = 1;
    bool empty = false;
    {
        const RegistryKey key(root, path, KEY_QUERY_VALUE);
        empty = key.Valid() &&
                RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                                 &values, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
                subKeys == 0 && values == 0;
    }
    if (!empty) return;
    using DeleteEmptyKey = LONG(WINAPI*)(HKEY, LPCSTR);
    reinterpret_cast<DeleteEmptyKey>(reinterpret_cast<void*>(deleteEmptyKey))(root, path);
}

}  // namespace

void StartUninstall() {
    char own[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, own, sizeof own - 1);
    const StartArguments start = OwnStartArguments();
    const bool hasArguments = start.kind == StartArguments::Present ||
                              (start.kind == StartArguments::Unrecognised && __argc > 1);

    char copy[kPathSize] = {};
    UninstallSituation situation{hasArguments, false, NeedsElevatedRestart()};
    if (!hasArguments) {
        // Without a temporary folder nothing is copied: the copy would land beside us.
        char tempFolder[kPathSize];
        if (!TemporaryFolder(nullptr, kCaption, tempFolder)) return;
        PathJoin(tempFolder, "uninst.exe", copy);
        situation.copyReady = CopyFileA(own, copy, FALSE) != FALSE;
    } else {
        // The installed uninstaller must have ended before its file can be deleted.
        WaitForProcess(WaitProcessIdFromArguments(start.arguments));
    }
    UninstallStep step = ChooseUninstallStep(situation);
    if (step == UninstallStep::StartCopy || step == UninstallStep::StartCopyElevated) {
        if (StartTemporaryCopy(copy, step == UninstallStep::StartCopyElevated)) return;
        situation.copyReady = false;  // refused, or the system could not start it
        step = ChooseUninstallStep(situation);
    }
    if (step == UninstallStep::TellRightsNeeded) {
        MessageBoxA(nullptr,
                    "Removing Quillmet needs administrator rights. Nothing has been changed.\r\n"
                    "\r\nPlease start the removal again and allow it to make changes to this "
                    "computer.",
                    kCaption, MB_OK | MB_ICONERROR);
        return;
    }

    // The temporary copy cannot delete itself: it goes at the next start of Windows.
    char tempFolder[kPathSize];
    if (TempPathUsable(GetTempPathA(sizeof tempFolder, tempFolder), sizeof tempFolder)) {
        PathJoin(tempFolder, "uninst.exe", copy);
        if (SamePath(own, copy)) MoveFileExA(own, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }

    if (MessageBoxA(nullptr, "Are you sure you want to remove this program from this computer?",
                    kCaption, MB_YESNO | MB_ICONHAND) == IDYES) {
        RemoveInstallation();
    }
}

void RemoveInstallation() {
    DeleteRunValue(SettingsScope::MachineWide);
    DeleteRunValue(SettingsScope::PerUser);

    {
        const RegistryKey versionKey(
            HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", KEY_ALL_ACCESS);
        if (versionKey.Valid()) RegDeleteKeyA(versionKey.Get(), "Uninstall\\Quillmet");
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
