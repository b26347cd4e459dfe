// Start-up: the run mode, the single running copy and the normal run.
#pragma once

#include <windows.h>

#include <cstdint>

// The marker in the last four bytes of a file; 0 when the file cannot be read.
std::uint32_t ReadRunMarker(const char* path);

// The main window of a running copy (an unowned dialog titled "Quillmet" with a menu bar), or
// null.
HWND FindRunningCopy();

// Asks running copies to close, at most six times a second apart. Always true.
bool CloseRunningCopies();

// The whole program from its entry point; returns the process exit code.
int RunProgram(HINSTANCE instance, int argc, char** argv);
