// The "QuillmetRun" value under the system's Run key, per user or for the whole machine.
// The settings page, the installer and the uninstaller share these.
#pragma once

#include <windows.h>

#include "settings/settings_store_win32.h"

// Writes "\"<programPath>\" -logon", creating the key if needed. True when the value was
// written.
bool WriteRunValue(SettingsScope scope, const char* programPath);
// Deletes the value; a missing key or value is no error.
void DeleteRunValue(SettingsScope scope);
// Whether the value exists (its data is not read).
bool RunValueExists(SettingsScope scope);
