#include "settings/run_at_logon_win32.h"

#include "settings/run_at_logon.h"

namespace {

const char kRunKeyPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRunValueName[] = "QuillmetRun";

}  // namespace

bool WriteRunValue(SettingsScope scope, const char* programPath) {
    const std::string command = FormatRunCommand(programPath);
    return WriteRegistryString(ScopeRoot(scope), kRunKeyPath, kRunValueName, command.c_str()) ==
           ERROR_SUCCESS;
}

void DeleteRunValue(SettingsScope scope) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(ScopeRoot(scope), kRunKeyPath, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
        return;
    }
    RegDeleteValueA(key, kRunValueName);
    RegCloseKey(key);
}

bool RunValueExists(SettingsScope scope) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(ScopeRoot(scope), kRunKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    const bool exists =
        RegQueryValueExA(key, kRunValueName, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return exists;
}
