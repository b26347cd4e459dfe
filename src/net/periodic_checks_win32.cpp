#include "net/periodic_checks_win32.h"

// The update check and the reminder are not built yet: nothing runs here.
void RunPeriodicChecks(HWND) {}
