// What an installation consists of and the steps that complete it: the program and shared
// data folders, shortcuts, the uninstaller copy, the uninstall entry and start at log-on.
// The uninstaller shares the folder and shortcut routines.
#pragma once

#include <windows.h>

#include "base/paths.h"

// <ProgramFilesDir>\Kestrovan\Quillmet, created along with its parents; its access list is
// its parent's alone (InheritParentAccessOnly), also when an older installation left more.
void ProgramFolder(char (&out)[kPathSize]);
// Drops a folder's own access entries and lets it inherit its parent's again.
void InheritParentAccessOnly(const char* folder);
// <Common AppData>\Kestrovan\Quillmet, created, and open to every user; with a name, that
// sub-folder of it.
void SharedDataFolder(const char* subFolder, char (&out)[kPathSize]);
// Gives Everyone full control of an existing folder, inherited by what it holds.
void GrantAllUsersAccess(const char* folder);

void DesktopShortcutPath(char (&out)[kPathSize]);
// <Programs>\Quillmet (not created). False when no programs-menu base is known; otherwise
// the base folder is created.
bool ProgramsMenuFolder(char (&out)[kPathSize]);
void AddProgramsMenuShortcut(const char* target, const char* name);
void RemoveProgramsMenuShortcut(const char* name);
// A shell link at linkPath to targetPath. Nothing is reported.
void CreateShortcut(const char* linkPath, const char* targetPath);

// Appends the 32-bit marker to an existing file. False when it could not be written.
bool AppendMarker(const char* path, DWORD marker);

// After the files are extracted: the uninstaller copy, the two markers, shortcuts, the
// uninstall entry and start at log-on for all users. A file that cannot be written is
// reported (owner: the page) and fails the installation; shortcuts and registry are silent.
bool FinishInstallation(HWND owner, const char* programFolder);

// Starts the installed program with "-install".
void StartInstalledProgram(const char* programFolder);

// The temporary folder from GetTempPathA. When the system gives none that fits, says so in a
// message box (owner, caption) and returns false with out empty.
bool TemporaryFolder(HWND owner, const char* caption, char (&out)[kPathSize]);

// Tells the user that a file of the installation cannot be written.
void ReportUnwritableFile(HWND owner, const char* path);
