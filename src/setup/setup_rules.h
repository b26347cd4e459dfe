// Decisions of the installer and uninstaller that need no window. Platform-free.
#pragma once

#include <cstddef>
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

// The argument that asks a set-up for a quiet install, as "LQUIET" does. A process started
// with administrator rights through the shell does not inherit our environment, so the set-up
// passes it on this way too.
inline constexpr char kQuietArgument[] = "-quiet";
// True when one of the blank-separated words of the arguments is kQuietArgument.
bool HasQuietArgument(const std::string& arguments);

// Whether GetTempPathA's answer is a folder: 0 is a failure, and a length at or above the
// buffer's size means the path did not fit and the buffer holds nothing usable.
bool TempPathUsable(unsigned long reportedLength, std::size_t bufferSize);

// Whether to start again with administrator rights: Windows Vista (6.0) runs us, as the
// manifest asks, without them, and the installation needs them.
bool ShouldRestartElevated(unsigned major, unsigned minor, bool elevated);

// What the uninstaller does next. Without administrator rights where the system needs them
// (Windows 6.0, not elevated) it removes nothing: unelevated, the machine-wide parts would stay
// while the per-user parts went.
enum class UninstallStep { StartCopy, StartCopyElevated, AskAndRemove, TellRightsNeeded };
struct UninstallSituation {
    bool restarted;       // started with arguments: the temporary copy (or by hand)
    bool copyReady;       // the temporary copy was made (and, when tried, started)
    bool needsElevation;  // Windows 6.0 without an elevated token
};
UninstallStep ChooseUninstallStep(const UninstallSituation& situation);
