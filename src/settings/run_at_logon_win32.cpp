#include "settings/run_at_logon_win32.h"

#include "base/registry_key_win32.h"
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
    const RegistryKey key(ScopeRoot(scope), kRunKeyPath, KEY_SET_VALUE);
    if (key.Valid()) RegDeleteValueA(key.Get(), kRunValueName);
}

bool RunValueExists(SettingsScope scope) {
    const RegistryKey key(ScopeRoot(scope), kRunKeyPath, KEY_QUERY_VALUE);
    return key.Valid() && RegQueryValueExA(key.Get(), kRunValueName, nullptr, nullptr, nullptr,
                                           nullptr) == ERROR_SUCCESS;
}
