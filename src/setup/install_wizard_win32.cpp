#include "setup/install_wizard_win32.h"

// Installing and removing are not built yet: both roles end at once without a window.
void InstallWizard() {}

void StartUninstall() {}
