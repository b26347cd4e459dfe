// Administrator rights on Windows Vista: the program's manifest asks for none, so the set-up
// and the uninstaller start again elevated when they need to.
#pragma once

// True when this is Windows 6.0 and the process has no elevated token.
bool NeedsElevatedRestart();
// Starts program with parameters through the "runas" verb. False when it did not start (the
// user refused, or the system could not).
bool StartElevated(const char* program, const char* parameters);
