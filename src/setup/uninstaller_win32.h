// Removal: the installed "uninst.exe" copies itself to the temporary folder and starts the
// copy, which asks and then removes the installation.
#pragma once

// The uninstall role of the executable.
void StartUninstall();
// Undoes the installation: log-on values, uninstall entry, shortcuts, the installed files and
// folders (only the installation's own files; a folder goes when it is empty), the settings.
void RemoveInstallation();
