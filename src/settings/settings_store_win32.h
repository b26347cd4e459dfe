// The registry-backed settings store. Nothing is cached: every read goes to the registry,
// every write goes there at once, and failures fall back silently to the defaults.
#pragma once

#include <windows.h>

#include "settings/settings_values.h"

enum class SettingsScope { PerUser, MachineWide };

// HKEY_CURRENT_USER for PerUser, HKEY_LOCAL_MACHINE for MachineWide.
HKEY ScopeRoot(SettingsScope scope);

// Reads a value of any type into out (260 bytes), cut at 259 characters. Returns false and
// copies the default when the key or value is missing or does not fit.
bool ReadRegistryString(HKEY root, const char* keyPath, const char* valueName,
                        const char* defaultText, char (&out)[kSettingsTextSize]);

// Creates the key (and its parents) and stores text as REG_SZ with its terminating zero.
// Returns the status of opening the key, or when it opened, of the value write.
LONG WriteRegistryString(HKEY root, const char* keyPath, const char* valueName, const char* text);

namespace SettingsStore {

// Sections live under "Software\Kestrovan\Quillmet\<section>" of the scope's hive.
void ReadString(SettingsScope scope, const char* section, const char* name, const char* defaultText,
                char (&out)[kSettingsTextSize]);
void WriteString(SettingsScope scope, const char* section, const char* name, const char* text);
int ReadInt(SettingsScope scope, const char* section, const char* name, int defaultValue);
void WriteInt(SettingsScope scope, const char* section, const char* name, int value);
bool ReadBool(const char* section, const char* name, bool defaultValue);
void WriteBool(const char* section, const char* name, bool value);
// Writes "1" under the machine-wide "Settings" section.
void MarkMachineFlag(const char* name);

}  // namespace SettingsStore

// The per-user application-data folder from the shell-folder values (no separator added).
void ReadAppDataFolder(char (&out)[kSettingsTextSize]);
