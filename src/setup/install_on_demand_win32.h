// Installing one of the maker's related programs on demand: its set-up is downloaded into the
// temporary folder and, when it is a whole set-up file of ours, started quietly.
#pragma once

#include "ui/wizard_page_win32.h"

// InstallOnDemand's failure when it has told the user why itself (a damaged download, no
// temporary folder); the page reports it no further.
constexpr int kInstallReported = 3;

// Downloads the component's set-up (the fallback host once when the download host fails),
// showing progress on the page, and starts it. 0 started, 1 stopped by the user,
// kInstallReported, 2 (or another value) failed. The downloaded file is deleted.
int InstallOnDemand(TimedWizardPage& page, const char* componentName);
// The same from the given download hosts ("host" or "host:port").
int InstallOnDemand(TimedWizardPage& page, const char* componentName, const char* host,
                    const char* fallbackHost);
