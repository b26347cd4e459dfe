// The periodic checks shown over the main window: the related-programs reminder (the install
// wizard's related-programs pages as a modal wizard) and the update check ("Checking for
// Updates", the version file, "Update Version Available", the page opened by the shell). The
// rules are in net/periodic_checks.h.
#pragma once

#include <windows.h>

// Runs after the main window is brought back to the screen on the user's request. Does
// nothing while the main window is disabled under one of the program's modal windows.
void RunPeriodicChecks(HWND mainWindow);
