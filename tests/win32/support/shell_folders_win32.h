// The shell's folder settings, which tell the program where the application data folders are.
#pragma once

#include <windows.h>

#include <string>

#include "win32/support/saved_registry_value_win32.h"

constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Sets one folder (such as "AppData" under HKCU) as text; false when it cannot be written.
inline bool SetShellFolder(HKEY root, const char* name, const std::string& folder) {
    return SetRawValue(root, kShellFolders, name, REG_SZ, folder.c_str(),
                       static_cast<DWORD>(folder.size() + 1));
}
