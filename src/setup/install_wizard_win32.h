// The install wizard of a set-up file: terms, installing, related programs.
#pragma once

// Runs the wizard; the installed program is started when the installation completed.
void InstallWizard();
