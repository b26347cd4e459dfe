#include "app/startup_win32.h"

#include <commctrl.h>

#include <cstring>

#include "app/main_window_win32.h"
#include "base/file_handle_win32.h"
#include "base/paths.h"
#include "resource_ids.h"
#include "settings/system_checks_win32.h"
#include "setup/install_wizard_win32.h"
#include "setup/run_mode.h"
#include "setup/uninstaller_win32.h"

namespace {

const char* const kCorruptSetupText =
    "Installation file corrupt.\n\nA checksum error was detected in your install file, please "
    "redownload file and install again.";

// The instance mutex exists for the whole life of the process, so that finding a running
// copy or else creating the window is one step no other copy can interleave with.
class InstanceMutex {
  public:
    InstanceMutex() : handle_(CreateMutexA(nullptr, FALSE, "QuillmetRunMutex")) {}
    ~InstanceMutex() {
        if (handle_ != nullptr) CloseHandle(handle_);
    }
    InstanceMutex(const InstanceMutex&) = delete;
    InstanceMutex& operator=(const InstanceMutex&) = delete;
    HANDLE Handle() const { return handle_; }

  private:
    HANDLE handle_;
};

InstanceMutex instanceMutex;

void ReleaseInstanceMutex(void*) { ReleaseMutex(instanceMutex.Handle()); }

void RunNormal(int argc, char** argv) {
    WaitForSingleObject(instanceMutex.Handle(), INFINITE);
    if (HWND running = FindRunningCopy()) {
        PostMessageA(running, kShowRequestMessage, 0, argc - 1);
        ReleaseMutex(instanceMutex.Handle());
        return;
    }
    InitCommonControls();
    const bool startedAtLogon = argc > 1 && std::strcmp(argv[1], "-logon") == 0;
    MainWindow mainWindow(startedAtLogon);
    RunModelessLoop(mainWindow, MAKEINTRESOURCEA(IDD_MAIN_WINDOW), nullptr, &ReleaseInstanceMutex,
                    nullptr);
}

}  // namespace

std::uint32_t ReadRunMarker(const char* path) {
    FileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    unsigned char bytes[4] = {};
    const bool ok = file.Valid() && SeekFile(file.Get(), -4, FILE_END) &&
                    ReadExactly(file.Get(), bytes, sizeof bytes);
    return ok ? MarkerFromBytes(bytes) : 0;
}

HWND FindRunningCopy() {
    // Other dialogs of the program share the title (about box, wizards) and lie above the
    // main window; only the main window is unowned and has a menu bar.
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, MAKEINTATOM(0x8002), "Quillmet")) != nullptr) {
        if (GetWindow(window, GW_OWNER) == nullptr && GetMenu(window) != nullptr) return window;
    }
    return nullptr;
}

bool CloseRunningCopies() {
    for (int attempt = 0; attempt < 6; ++attempt) {
        HWND running = FindRunningCopy();
        if (running == nullptr) break;
        PostMessageA(running, kCloseRequestMessage, 0, 0);
        PostMessageA(running, WM_CLOSE, 0, 0);
        Sleep(1000);
    }
    return true;
}

int RunProgram(HINSTANCE instance, int argc, char** argv) {
    SetProgramInstance(instance);

    // The program's own file comes from the system: the command line may name it relatively
    // or without its extension.
    char programPath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, programPath, sizeof programPath - 1);

    char folder[kPathSize];
    PathDirectory(programPath, folder);
    SetCurrentDirectoryA(folder);

    const std::uint32_t marker = ReadRunMarker(programPath);
    char fileName[kPathSize];
    PathFileName(programPath, fileName);
    if (LooksLikeSetupFileName(fileName) && marker != kSetupMarker) {
        MessageBoxA(nullptr, kCorruptSetupText, "Install Error", MB_ICONWARNING);
        return 0;
    }
    if (!CheckWindowsVersion()) return 0;

    switch (RunModeFromMarker(marker)) {
        case RunMode::Setup:
            CloseRunningCopies();
            InstallWizard();
            break;
        case RunMode::Uninstall:
            CloseRunningCopies();
            StartUninstall();
            break;
        case RunMode::Normal:
            RunNormal(argc, argv);
            break;
    }
    return 0;
}
