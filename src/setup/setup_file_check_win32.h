// Judging a set-up file whole before anything is done with it: the trailer fits the file, ends
// in the set-up marker, and the byte sum of the data matches its checksum. The installer checks
// its own file this way before copying, and install-on-demand a downloaded set-up before it is
// started.
#pragma once

#include <windows.h>

#include "setup/install_payload.h"
#include "ui/wizard_page_win32.h"

constexpr DWORD kSetupFileChunkSize = 4096;

enum class SetupFileCheck { Sound, Stopped, Damaged };

// Reads the file (open for reading) in chunks, pumping the page's messages after each; Stopped
// when the page was left meanwhile. On Sound, trailer holds the file's trailer. The file
// position is left anywhere.
SetupFileCheck CheckSetupFile(TimedWizardPage& page, HANDLE file, InstallTrailer& trailer);
