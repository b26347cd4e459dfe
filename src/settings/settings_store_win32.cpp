#include "settings/settings_store_win32.h"

#include <cstdio>
#include <cstring>

#include "base/bounded_copy.h"
#include "base/registry_key_win32.h"

namespace {

constexpr std::size_t kKeyPathSize = 324;

void FormSectionPath(const char* section, char (&path)[kKeyPathSize]) {
    std::snprintf(path, sizeof path, "Software\\Kestrovan\\Quillmet\\%s", section);
}

}  // namespace

HKEY ScopeRoot(SettingsScope scope) {
    return scope == SettingsScope::PerUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

bool ReadRegistryString(HKEY root, const char* keyPath, const char* valueName,
                        const char* defaultText, char (&out)[kSettingsTextSize]) {
    const RegistryKey key(root, keyPath, KEY_QUERY_VALUE);
    DWORD size = sizeof out;
    if (key.Valid() && RegQueryValueExA(key.Get(), valueName, nullptr, nullptr,
                                        reinterpret_cast<BYTE*>(out), &size) == ERROR_SUCCESS) {
        if (size > kSettingsTextSize - 1) size = kSettingsTextSize - 1;
        out[size] = '\0';
        return true;
    }
    CopyBounded(out, defaultText);
    return false;
}

LONG WriteRegistryString(HKEY root, const char* keyPath, const char* valueName, const char* text) {
    if (text == nullptr) text = "";
    const RegistryKey key(root, keyPath, KEY_SET_VALUE, true);
    if (!key.Valid()) return key.Status();
    return RegSetValueExA(key.Get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>(std::strlen(text) + 1));
}

namespace SettingsStore {

void ReadString(SettingsScope scope, const char* section, const char* name, const char* defaultText,
                char (&out)[kSettingsTextSize]) {
    char path[kKeyPathSize];
    FormSectionPath(section, path);
    ReadRegistryString(ScopeRoot(scope), path, name, defaultText, out);
}

void WriteString(SettingsScope scope, const char* section, const char* name, const char* text) {
    char path[kKeyPathSize];
    FormSectionPath(section, path);
    WriteRegistryString(ScopeRoot(scope), path, name, text);
}

int ReadInt(SettingsScope scope, const char* section, const char* name, int defaultValue) {
    char text[kSettingsTextSize];
    ReadString(scope, section, name, "", text);
    return ParseSettingsInt(text, defaultValue);
}

void WriteInt(SettingsScope scope, const char* section, const char* name, int value) {
    char text[kSettingsTextSize];
    std::snprintf(text, sizeof text, "%d", value);
    WriteString(scope, section, name, text);
}

bool ReadBool(const char* section, const char* name, bool defaultValue) {
    char text[kSettingsTextSize];
    ReadString(SettingsScope::PerUser, section, name, "", text);
    return ParseSettingsFlag(text, defaultValue);
}

void WriteBool(const char* section, const char* name, bool value) {
    WriteString(SettingsScope::PerUser, section, name, value ? "1" : "0");
}

void MarkMachineFlag(const char* name) {
    WriteString(SettingsScope::MachineWide, "Settings", name, "1");
}

}  // namespace SettingsStore

void ReadAppDataFolder(char (&out)[kSettingsTextSize]) {
    const char* shellFolders =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    if (!ReadRegistryString(HKEY_CURRENT_USER, shellFolders, "AppData", "", out)) {
        ReadRegistryString(HKEY_LOCAL_MACHINE, shellFolders, "Common AppData", "C:\\", out);
    }
}
