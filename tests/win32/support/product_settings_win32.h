// The program's per-user settings as the tests read and write them, beside the program's own
// store: the raw registry, so that a test sees what the program wrote.
#pragma once

#include <windows.h>
#include <shlwapi.h>

#include <cstring>
#include <string>

constexpr const char* kProductKey = "Software\\Kestrovan\\Quillmet";

// The text of HKCU\<product>\section\name; "" when it is missing (exists says which).
inline std::string ReadStored(const char* section, const char* name, bool* exists = nullptr) {
    const std::string key = std::string(kProductKey) + "\\" + section;
    char text[1024] = {};
    DWORD size = sizeof text - 1;
    DWORD type = 0;
    const LONG status = SHGetValueA(HKEY_CURRENT_USER, key.c_str(), name, &type, text, &size);
    if (exists != nullptr) *exists = status == ERROR_SUCCESS;
    return status == ERROR_SUCCESS ? std::string(text) : std::string();
}

inline void Store(const char* section, const char* name, const char* text) {
    const std::string key = std::string(kProductKey) + "\\" + section;
    SHSetValueA(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, text,
                static_cast<DWORD>(std::strlen(text) + 1));
}
