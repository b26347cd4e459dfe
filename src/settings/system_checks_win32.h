// System checks shared by start-up, the main window and the installer: the per-user data
// folder, the Windows-version gate and the quiet-install switch.
#pragma once

#include <windows.h>

#include "base/paths.h"

// Forms <AppData>\Kestrovan\Quillmet, creating both folders. Returns whether the last folder
// was created now (false also when it already existed); out holds the path either way.
bool UserDataFolder(char (&out)[kPathSize]);

// The version gate run at start-up: true on Windows up to Vista. Otherwise tells the user
// where to find an updated program, opens that page and returns false.
bool CheckWindowsVersion();

// The gate for a given version: what CheckWindowsVersion does with the version it reads.
bool ApplyVersionGate(DWORD major, DWORD minor);

bool IsWindows2000OrLater();

// Major and minor version as the system reports them; 0.0 when it does not answer.
void ReadWindowsVersion(DWORD& major, DWORD& minor);

// True when the environment variable "LQUIET" is set to a non-empty value.
bool IsQuietInstall();
