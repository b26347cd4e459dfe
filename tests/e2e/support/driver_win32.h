// Drives the real quillmet.exe from outside, as a user or another program would: starts it,
// finds its windows, answers its message boxes, uses the clipboard and reads the registry.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// The program under test as a Windows path (from the QM_EXE environment variable).
std::string ProgramPath();
// The set-up file the build made (from the QM_SETUP_EXE environment variable).
std::string SetupProgramPath();
// A Unix path given in an environment variable, as a Windows path (empty when unset).
std::string WindowsPathFromEnvironment(const char* variable);
// A fresh folder of the test's own, as a Windows path.
std::string MakeScratchFolder(const char* name);
// Copies the program into folder under another name; appends marker bytes when given.
std::string CopyProgram(const std::string& folder, const char* name,
                        const unsigned char* trailer = nullptr, size_t trailerLength = 0);

class Process {
  public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // commandLine is passed as it stands; the program is started in currentFolder if given.
    bool Start(const std::string& application, const std::string& commandLine,
               const char* currentFolder = nullptr);
    bool WaitForExit(DWORD timeoutMs);
    // Waits until the program's message loop waits for input.
    bool WaitForIdle(DWORD timeoutMs);
    bool Running() const;
    DWORD Id() const { return info_.dwProcessId; }
    // Why a started program shows no window: never started, ended (with its code), or slow.
    std::string WhyNoWindow() const;
    // Ends the process by force if it is still running.
    void Kill();

  private:
    PROCESS_INFORMATION info_{};
};

// Waits for a top-level dialog window with this title, of any process (or of processId when
// not 0). Returns null when the bound passes.
HWND WaitForDialog(const char* title, DWORD processId, DWORD timeoutMs);
// A top-level window of the class (and title, when given) owned by owner, or null.
HWND FindOwnedWindow(HWND owner, const char* className, const char* title = nullptr);

// Waits until a condition holds, polling; false when the bound passes.
template <typename Condition>
bool WaitFor(Condition condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(25);
    }
}

// Brings the window to the front (waiting at most timeoutMs) and presses and releases the key
// on the keyboard, as a user would. False when the window did not come to the front.
bool PressKey(HWND window, WORD virtualKey, DWORD timeoutMs);

// The text of a message box (its static control) and a press on one of its buttons.
std::string MessageBoxText(HWND box);
void PressButton(HWND dialog, int buttonId);

std::string ControlText(HWND dialog, int controlId);
void SetControlText(HWND dialog, int controlId, const char* text);

bool PutTextOnClipboard(const std::string& text);
// Leaves the clipboard with no data at all.
bool EmptyTheClipboard();

// Files dropped on a window of another process, as the shell drops them: WM_DROPFILES with
// the file list in that process's memory. False when the memory could not be given to it.
bool DropFiles(HWND window, DWORD processId, const std::vector<std::string>& paths);
// The text of one part of a status bar of another process.
std::string StatusBarPartText(HWND statusBar, DWORD processId, int part);
// Runs a console program to its end and gives what it wrote to its standard output.
std::string ConsoleOutput(const std::string& application, const std::string& arguments);

// The product's settings, straight from the registry.
void DeleteProductSettings();
std::string ReadSetting(HKEY root, const char* section, const char* name);
bool SettingExists(HKEY root, const char* section, const char* name);
void WriteSetting(const char* section, const char* name, const char* text,
                  HKEY root = HKEY_CURRENT_USER);

// Web pages opened by the program (the prefix's browser records them).
std::string OpenedPages();
void ForgetOpenedPages();

}  // namespace e2e
