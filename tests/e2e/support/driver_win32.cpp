#include "support/driver_win32.h"

#include <shlwapi.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace e2e {

namespace {

// Wine maps the Unix file system to drive Z:.
std::string WindowsPathFromUnix(const char* path) {
    std::string result = path;
    if (!result.empty() && result[0] == '/') {
        result = "Z:" + result;
        for (char& c : result) {
            if (c == '/') c = '\\';
        }
    }
    return result;
}

const char* kProductKey = "Software\\Kestrovan\\Quillmet";

}  // namespace

std::string WindowsPathFromEnvironment(const char* variable) {
    const char* path = std::getenv(variable);
    return path != nullptr ? WindowsPathFromUnix(path) : std::string();
}

std::string ProgramPath() {
    const char* path = std::getenv("QM_EXE");
    return path != nullptr ? WindowsPathFromUnix(path) : std::string();
}

std::string SetupProgramPath() {
    const char* path = std::getenv("QM_SETUP_EXE");
    return path != nullptr ? WindowsPathFromUnix(path) : std::string();
}

std::string MakeScratchFolder(const char* name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "qm-e2e-" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string CopyProgram(const std::string& folder, const char* name, const unsigned char* trailer,
                        size_t trailerLength) {
    std::string target = folder + "\\" + name;
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!CopyFileA(ProgramPath().c_str(), target.c_str(), FALSE)) return std::string();
    if (trailer != nullptr) {
        HANDLE file = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return std::string();
        SetFilePointer(file, 0, nullptr, FILE_END);
        DWORD written = 0;
        WriteFile(file, trailer, static_cast<DWORD>(trailerLength), &written, nullptr);
        CloseHandle(file);
        if (written != trailerLength) return std::string();
    }
    return target;
}

Process::~Process() {
    Kill();
    if (info_.hProcess != nullptr) CloseHandle(info_.hProcess);
    if (info_.hThread != nullptr) CloseHandle(info_.hThread);
}

bool Process::Start(const std::string& application, const std::string& commandLine,
                    const char* currentFolder) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string line = commandLine;
    return CreateProcessA(application.empty() ? nullptr : application.c_str(), &line[0], nullptr,
                          nullptr, FALSE, 0, nullptr, currentFolder, &startup, &info_) != FALSE;
}

bool Process::WaitForExit(DWORD timeoutMs) {
    return info_.hProcess != nullptr &&
           WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

bool Process::WaitForIdle(DWORD timeoutMs) {
    return info_.hProcess != nullptr && WaitForInputIdle(info_.hProcess, timeoutMs) == 0;
}

bool Process::Running() const {
    return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::string Process::WhyNoWindow() const {
    DWORD code = 0;
    if (info_.hProcess == nullptr) return "the program did not start";
    if (Running()) return "the program runs but showed no window in time";
    GetExitCodeProcess(info_.hProcess, &code);
    return "the program ended at once, with exit code " + std::to_string(code);
}

void Process::Kill() {
    if (Running()) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }
}

namespace {

struct DialogSearch {
    const char* title;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<DialogSearch*>(context);
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") != 0) return TRUE;
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    if (lstrcmpA(title, search->title) != 0) return TRUE;
    if (search->processId != 0) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != search->processId) return TRUE;
    }
    search->found = window;
    return FALSE;
}

}  // namespace

HWND WaitForDialog(const char* title, DWORD processId, DWORD timeoutMs) {
    DialogSearch search{title, processId, nullptr};
    WaitFor(
        [&] {
            EnumWindows(&MatchDialog, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

HWND FindOwnedWindow(HWND owner, const char* className, const char* title) {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, className, title)) != nullptr) {
        if (GetWindow(window, GW_OWNER) == owner) return window;
    }
    return nullptr;
}

bool PressKey(HWND window, WORD virtualKey, DWORD timeoutMs) {
    SetForegroundWindow(window);
    if (!WaitFor([&] { return GetForegroundWindow() == window; }, timeoutMs)) return false;
    INPUT keys[2] = {};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = virtualKey;
    keys[1] = keys[0];
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(2, keys, sizeof(INPUT)) == 2;
}

std::string MessageBoxText(HWND box) {
    // A message box's text is its static control with id 0xFFFF.
    return ControlText(box, 0xFFFF);
}

void PressButton(HWND dialog, int buttonId) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, buttonId)));
}

std::string ControlText(HWND dialog, int controlId) {
    char text[4096] = {};
    SendDlgItemMessageA(dialog, controlId, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

void SetControlText(HWND dialog, int controlId, const char* text) {
    SendDlgItemMessageA(dialog, controlId, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

bool PutTextOnClipboard(const std::string& text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (memory == nullptr) return false;
    char* bytes = static_cast<char*>(GlobalLock(memory));
    memcpy(bytes, text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    if (!OpenClipboard(nullptr)) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    bool ok = SetClipboardData(CF_TEXT, memory) != nullptr;
    CloseClipboard();
    if (!ok) GlobalFree(memory);
    return ok;
}

bool EmptyTheClipboard() {
    if (!OpenClipboard(nullptr)) return false;
    const bool ok = EmptyClipboard() != FALSE;
    CloseClipboard();
    return ok;
}

void DeleteProductSettings() {
    SHDeleteKeyA(HKEY_CURRENT_USER, kProductKey);
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, kProductKey);
}

std::string ReadSetting(HKEY root, const char* section, const char* name) {
    std::string path = std::string(kProductKey) + "\\" + section;
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    if (SHGetValueA(root, path.c_str(), name, nullptr, data, &size) != ERROR_SUCCESS) return "";
    return data;
}

bool SettingExists(HKEY root, const char* section, const char* name) {
    std::string path = std::string(kProductKey) + "\\" + section;
    return SHGetValueA(root, path.c_str(), name, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void WriteSetting(const char* section, const char* name, const char* text, HKEY root) {
    std::string path = std::string(kProductKey) + "\\" + section;
    SHSetValueA(root, path.c_str(), name, REG_SZ, text, static_cast<DWORD>(lstrlenA(text) + 1));
}

std::string OpenedPages() {
    const char* log = std::getenv("QM_BROWSER_LOG");
    if (log == nullptr) return "";
    std::ifstream file(WindowsPathFromUnix(log), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void ForgetOpenedPages() {
    const char* log = std::getenv("QM_BROWSER_LOG");
    if (log != nullptr) DeleteFileA(WindowsPathFromUnix(log).c_str());
}

}  // namespace e2e

namespace e2e {

namespace {

// Memory in another process, freed when this goes.
class RemoteMemory {
  public:
    RemoteMemory(DWORD processId, std::size_t size) : size_(size) {
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                               processId);
        if (process_ != nullptr) {
            address_ =
                VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        }
    }
    ~RemoteMemory() {
        if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_ != nullptr) CloseHandle(process_);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    void* address() const { return address_; }
    bool Write(const void* data, std::size_t size) {
        SIZE_T written = 0;
        return address_ != nullptr && size <= size_ &&
               WriteProcessMemory(process_, address_, data, size, &written) && written == size;
    }
    std::string Read() {
        std::string data(size_, '\0');
        SIZE_T got = 0;
        if (address_ == nullptr || !ReadProcessMemory(process_, address_, &data[0], size_, &got))
            return std::string();
        data.resize(got);
        return data;
    }

  private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    std::size_t size_;
};

}  // namespace

bool DropFiles(HWND window, DWORD processId, const std::vector<std::string>& paths) {
    // DROPFILES: offset of the list, drop point, non-client flag, wide flag; then the names,
    // each ended by a zero, and one more zero. Its memory stays with the program, which
    // releases it with DragFinish.
    std::string block(20, '\0');
    block[0] = 20;
    block[4] = 10;
    block[8] = 10;
    for (const std::string& path : paths) block += path + '\0';
    block += '\0';
    const DWORD access = PROCESS_VM_OPERATION | PROCESS_VM_WRITE;
    HANDLE process = OpenProcess(access, FALSE, processId);
    if (process == nullptr) return false;
    void* address =
        VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    SIZE_T written = 0;
    const bool ok = address != nullptr &&
                    WriteProcessMemory(process, address, block.data(), block.size(), &written) &&
                    written == block.size();
    CloseHandle(process);
    return ok && PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(address), 0);
}

std::string StatusBarPartText(HWND statusBar, DWORD processId, int part) {
    RemoteMemory text(processId, 1024);
    const std::string zeros(1024, '\0');
    if (!text.Write(zeros.data(), zeros.size())) return std::string();
    SendMessageA(statusBar, WM_USER + 2 /* SB_GETTEXTA */, static_cast<WPARAM>(part),
                 reinterpret_cast<LPARAM>(text.address()));
    const std::string read = text.Read();
    return read.substr(0, read.find('\0'));
}

std::string ConsoleOutput(const std::string& application, const std::string& arguments) {
    char folder[MAX_PATH] = {};
    char name[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    GetTempFileNameA(folder, "qmo", 0, name);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return std::string();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION info{};
    std::string line = "\"" + application + "\" " + arguments;
    if (CreateProcessA(application.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &info)) {
        WaitForSingleObject(info.hProcess, 60000);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    CloseHandle(out);
    std::ifstream in(name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    in.close();
    DeleteFileA(name);
    return text.str();
}

}  // namespace e2e
