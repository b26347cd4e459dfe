// Decisions of the installer and uninstaller that need no window. Platform-free.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// The files an installation puts into the program folder, with the index files the help
// viewer makes beside the help file. The uninstaller deletes these and nothing else.
extern const char* const kInstalledFileNames[];
constexpr int kInstalledFileCount = 7;

// How the uninstaller was started. Windows starts the stored "UninstallString" unquoted, so a
// path with blanks must not be taken for a program and its arguments.
struct StartArguments {
    enum Kind { None, Present, Unrecognised } kind;
    std::string arguments;  // what follows the program's path (Present only)
};
// rawCommandLine as the process received it; namesThisProgram tells whether a candidate path
// (as written, possibly short 8.3 form) is the running program's own file. Unrecognised when
// no leading part of the line names it.
StartArguments ReadStartArguments(const char* rawCommandLine,
                                  const std::function<bool(const std::string&)>& namesThisProgram);

// The id of the process to wait for, from the temporary uninstaller's arguments "-u <id>";
// 0 when absent or not a valid 32-bit number.
std::uint32_t WaitProcessIdFromArguments(const std::string& arguments);

// Whether to start again with administrator rights: Windows Vista (6.0) runs us, as the
// manifest asks, without them, and the installation needs them.
bool ShouldRestartElevated(unsigned major, unsigned minor, bool elevated);
