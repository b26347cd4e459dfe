// Installing from the set-up file: its payload copied into place, then the rest of the
// installation.
#pragma once

class InstallingPage;

// Checks the set-up file whole (trailer, length, checksum) before writing anything, then
// copies each payload entry out and completes the installation. Reports what went wrong;
// false on any failure, and without a message when the user stopped it.
bool ExtractPayload(InstallingPage& page);
