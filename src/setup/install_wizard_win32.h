// The installer and uninstaller roles of the executable.
#pragma once

// Runs the install wizard of a set-up file.
void InstallWizard();
// Removes the installation (uninstaller copy).
void StartUninstall();
