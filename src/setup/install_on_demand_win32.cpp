#include "setup/install_on_demand_win32.h"

#include <cstdio>

#include "base/file_handle_win32.h"
#include "base/maker_hosts.h"
#include "base/paths.h"
#include "net/http_get_win32.h"
#include "setup/install_steps_win32.h"
#include "setup/program_start_win32.h"
#include "setup/setup_file_check_win32.h"
#include "setup/setup_rules.h"
#include "ui/progress_dialog_win32.h"

namespace {

// Starts the downloaded set-up with "LQUIET" set and the quiet argument, so that it shows no
// terms and offers no programs of its own; a value the process had before is left as it was.
bool StartQuietly(const char* file) {
    char previous[2];
    const bool wasSet = GetEnvironmentVariableA("LQUIET", previous, sizeof previous) > 0;
    SetEnvironmentVariableA("LQUIET", "1");
    const bool started = StartProgram(file, kQuietArgument);
    if (!wasSet) SetEnvironmentVariableA("LQUIET", nullptr);
    return started;
}

// Plain HTTP cannot tell who sent the file: at the least it must be a whole set-up file of
// ours. The file stays open, unwritable by others, until the set-up has started.
int StartDownloadedSetup(TimedWizardPage& page, const char* file) {
    FileHandle opened(CreateFileA(file, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!opened.Valid()) return kTransferFailed;
    InstallTrailer trailer{};
    const SetupFileCheck check = CheckSetupFile(page, opened.Get(), trailer);
    // A file that cannot be started is as much a failure as one that did not come.
    int result = kTransferFailed;
    if (check == SetupFileCheck::Stopped) {
        result = kTransferStopped;
    } else if (check == SetupFileCheck::Sound) {
        if (StartQuietly(file)) result = kTransferDone;
    }
    opened.Close();
    if (check == SetupFileCheck::Damaged) {
        MessageBoxA(page.Window(), "The downloaded file is damaged; please try again later.",
                    nullptr, MB_ICONERROR);
        result = kInstallReported;
    }
    return result;
}

}  // namespace

int InstallOnDemand(TimedWizardPage& page, const char* componentName) {
    return InstallOnDemand(page, componentName, kMakerDownloadHost, kMakerFallbackDownloadHost);
}

int InstallOnDemand(TimedWizardPage& page, const char* componentName, const char* host,
                    const char* fallbackHost) {
    SetPageStatusLine(0, page, "Download install-on-demand");
    SetPageStatusLine(1, page, componentName);
    char tempFolder[kPathSize];
    if (!TemporaryFolder(page.Window(), nullptr, tempFolder)) return kInstallReported;
    char file[kPathSize];
    PathJoinWithSuffix(tempFolder, componentName, ".exe", file);
    char name[kPathSize];
    PathFileName(file, name);

    char url[kPathSize + 64];
    std::snprintf(url, sizeof url, "http://%s/components/%s", host, name);
    PageTransferOwner owner(page);
    int result = HttpGetToFile(url, file, owner);
    if (result == kTransferFailed) {
        std::snprintf(url, sizeof url, "http://%s/components/%s", fallbackHost, name);
        result = HttpGetToFile(url, file, owner);
    }
    if (result == kTransferDone) {
        SetPageStatusLine(0, page, "Running install-on-demand");
        result = StartDownloadedSetup(page, file);
    }
    DeleteFileA(file);
    return result;
}
