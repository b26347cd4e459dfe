// The periodic update check and related-programs reminder.
#pragma once

#include <windows.h>

// Runs after the main window is brought back to the screen.
void RunPeriodicChecks(HWND mainWindow);
