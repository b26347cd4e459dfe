#include "setup/install_steps_win32.h"

#include <aclapi.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>

#include "base/file_handle_win32.h"
#include "settings/run_at_logon_win32.h"
#include "settings/settings_store_win32.h"
#include "settings/system_checks_win32.h"
#include "setup/run_mode.h"
#include "setup/setup_rules.h"
#include "ui/help_viewer_choice.h"

namespace {

const char kShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillmet";

void ReadShellFolder(HKEY root, const char* name, const char* defaultText,
                     char (&out)[kSettingsTextSize], bool* found) {
    const bool ok = ReadRegistryString(root, kShellFolders, name, defaultText, out);
    if (found != nullptr) *found = ok;
}

void MakeFolder(const char* parent, const char* name, char (&out)[kPathSize]) {
    PathJoin(parent, name, out);
    CreateDirectoryA(out, nullptr);
}

}  // namespace

void ProgramFolder(char (&out)[kPathSize]) {
    char base[kSettingsTextSize];
    ReadRegistryString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion",
                       "ProgramFilesDir", "C:\\Program Files", base);
    CreateDirectoryA(base, nullptr);
    char maker[kPathSize];
    MakeFolder(base, "Kestrovan", maker);
    // Default security: a folder open to every user would let any user replace programs that
    // run at every log-on.
    MakeFolder(maker, "Quillmet", out);
    InheritParentAccessOnly(out);
}

void InheritParentAccessOnly(const char* folder) {
    // No entries of its own: what remains is what the parent passes on. An older installation
    // gave Everyone full control here.
    ACL noEntries;
    if (!InitializeAcl(&noEntries, sizeof noEntries, ACL_REVISION)) return;
    char path[kPathSize];
    std::snprintf(path, sizeof path, "%s", folder);
    SetNamedSecurityInfoA(path, SE_FILE_OBJECT,
                          DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION,
                          nullptr, nullptr, &noEntries, nullptr);
}

void SharedDataFolder(const char* subFolder, char (&out)[kPathSize]) {
    char base[kSettingsTextSize];
    ReadShellFolder(HKEY_LOCAL_MACHINE, "Common AppData", "C:\\", base, nullptr);
    char maker[kPathSize];
    MakeFolder(base, "Kestrovan", maker);
    GrantAllUsersAccess(maker);
    MakeFolder(maker, "Quillmet", out);
    GrantAllUsersAccess(out);
    if (subFolder != nullptr && subFolder[0] != '\0') {
        char sub[kPathSize];
        MakeFolder(out, subFolder, sub);
        GrantAllUsersAccess(sub);
        std::snprintf(out, sizeof out, "%s", sub);
    }
}

void GrantAllUsersAccess(const char* folder) {
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone)) {
        return;
    }
    alignas(DWORD) BYTE aclBytes[1024];
    auto* acl = reinterpret_cast<PACL>(aclBytes);
    SECURITY_DESCRIPTOR descriptor;
    ACE_HEADER* ace = nullptr;
    if (InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
        InitializeAcl(acl, sizeof aclBytes, ACL_REVISION2) &&
        AddAccessAllowedAce(acl, ACL_REVISION2, GENERIC_ALL, everyone) &&
        GetAce(acl, 0, reinterpret_cast<void**>(&ace))) {
        ace->AceFlags |= OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
        if (SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE)) {
            SetFileSecurityA(folder, DACL_SECURITY_INFORMATION, &descriptor);
        }
    }
    FreeSid(everyone);
}

void DesktopShortcutPath(char (&out)[kPathSize]) {
    char desktop[kSettingsTextSize];
    bool found = false;
    ReadShellFolder(HKEY_LOCAL_MACHINE, "Common Desktop", "c:\\Windows\\Desktop", desktop, &found);
    if (!found)
        ReadShellFolder(HKEY_CURRENT_USER, "Desktop", "c:\\Windows\\Desktop", desktop, nullptr);
    PathJoin(desktop, "Quillmet.lnk", out);
}

bool ProgramsMenuFolder(char (&out)[kPathSize]) {
    char base[kSettingsTextSize];
    bool found = false;
    ReadShellFolder(HKEY_LOCAL_MACHINE, "Common Programs", "", base, &found);
    if (!found) ReadShellFolder(HKEY_CURRENT_USER, "Programs", "", base, nullptr);
    if (base[0] == '\0') return false;
    CreateDirectoryA(base, nullptr);
    PathJoin(base, "Quillmet", out);
    return true;
}

void AddProgramsMenuShortcut(const char* target, const char* name) {
    char folder[kPathSize];
    if (!ProgramsMenuFolder(folder)) return;
    CreateDirectoryA(folder, nullptr);
    char link[kPathSize];
    PathJoinWithSuffix(folder, name, ".lnk", link);
    CreateShortcut(link, target);
}

void RemoveProgramsMenuShortcut(const char* name) {
    char folder[kPathSize];
    if (!ProgramsMenuFolder(folder)) return;
    char link[kPathSize];
    PathJoinWithSuffix(folder, name, ".lnk", link);
    DeleteFileA(link);
}

void CreateShortcut(const char* linkPath, const char* targetPath) {
    const HRESULT initialised = CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        link->SetPath(targetPath);
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            WCHAR widePath[MAX_PATH] = {};
            MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, MAX_PATH - 1);
            file->Save(widePath, TRUE);
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(initialised)) CoUninitialize();
}

bool AppendMarker(const char* path, DWORD marker) {
    FileHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    const BYTE bytes[4] = {static_cast<BYTE>(marker), static_cast<BYTE>(marker >> 8),
                           static_cast<BYTE>(marker >> 16), static_cast<BYTE>(marker >> 24)};
    return file.Valid() && SeekFile(file.Get(), 0, FILE_END) &&
           WriteExactly(file.Get(), bytes, sizeof bytes);
}

bool TemporaryFolder(HWND owner, const char* caption, char (&out)[kPathSize]) {
    const DWORD length = GetTempPathA(sizeof out, out);
    if (TempPathUsable(length, sizeof out)) return true;
    out[0] = '\0';
    MessageBoxA(owner,
                "The temporary folder cannot be used: its path (set by TMP or TEMP) is missing "
                "or longer than 259 characters. Please set a shorter one and try again.",
                caption, MB_ICONERROR);
    return false;
}

void ReportUnwritableFile(HWND owner, const char* path) {
    char text[kPathSize + 128];
    std::snprintf(text, sizeof text,
                  "Installation cannot be completed because the file \"%s\" cannot be written to.",
                  path);
    MessageBoxA(owner, text, "Install Error", MB_ICONERROR);
}

bool FinishInstallation(HWND owner, const char* programFolder) {
    char exe[kPathSize];
    char uninstaller[kPathSize];
    PathJoin(programFolder, "quillmet.exe", exe);
    PathJoin(programFolder, "uninst.exe", uninstaller);

    // The uninstaller is copied before the program gets its marker: each gets exactly one.
    if (!CopyFileA(exe, uninstaller, FALSE) || !AppendMarker(uninstaller, kUninstallMarker)) {
        ReportUnwritableFile(owner, uninstaller);
        return false;
    }
    if (!AppendMarker(exe, 0)) {
        ReportUnwritableFile(owner, exe);
        return false;
    }

    AddProgramsMenuShortcut(exe, "Quillmet");
    char desktopLink[kPathSize];
    DesktopShortcutPath(desktopLink);
    CreateShortcut(desktopLink, exe);
    WriteRegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", "Quillmet Uninstall");
    // Quoted: the list of installed programs starts the line as it stands, and unquoted a
    // program at "C:\Program.exe" would run in its place.
    char uninstallCommand[kPathSize + 2];
    std::snprintf(uninstallCommand, sizeof uninstallCommand, "\"%s\"", uninstaller);
    WriteRegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", uninstallCommand);
    // The shortcut is every user's: the Windows version alone chooses the form of the manual.
    DWORD major = 0;
    DWORD minor = 0;
    ReadWindowsVersion(major, minor);
    char helpFile[kPathSize];
    PathJoin(programFolder, HelpFileName(ChooseHelpViewer(major, "")), helpFile);
    AddProgramsMenuShortcut(helpFile, "Quillmet Help");
    WriteRunValue(SettingsScope::MachineWide, exe);
    return true;
}

void StartInstalledProgram(const char* programFolder) {
    char exe[kPathSize];
    PathJoin(programFolder, "quillmet.exe", exe);
    char command[kPathSize + 16];
    std::snprintf(command, sizeof command, "\"%s\" -install", exe);
    WinExec(command, SW_SHOWNORMAL);
}
