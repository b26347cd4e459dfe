// Starting programs from the set-up and the uninstaller. Administrator rights on Windows
// Vista: the program's manifest asks for none, so they start again elevated when they need to.
#pragma once

// True when this is Windows 6.0 and the process has no elevated token.
bool NeedsElevatedRestart();
// Starts program with parameters through the "runas" verb. False when it did not start (the
// user refused, or the system could not).
bool StartElevated(const char* program, const char* parameters);
// Starts program, named apart from its quoted command line `"program" parameters`, so that a
// path with blanks can never start a program of another name. False when it did not start.
bool StartProgram(const char* program, const char* parameters);
