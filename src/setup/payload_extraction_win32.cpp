#include <windows.h>

#include <cstdio>

#include "settings/system_checks_win32.h"
#include "setup/install_payload.h"
#include "setup/install_steps_win32.h"
#include "setup/installing_page_win32.h"
#include "setup/related_pages_win32.h"
#include "ui/progress_dialog_win32.h"

namespace {

constexpr DWORD kChunkSize = 4096;

const char kAdministratorText[] =
    "To install software you must be logged on as this computer's Administrator. If you are not "
    "able to do this, ask your computer Administrator to log in and run the setup file again.";
const char kCorruptText[] =
    "Installation file corrupt.\n\nA checksum error was detected in your install file, please "
    "redownload file and install again.";
const char kInUseText[] =
    "Please check you have exited any previous running instances of Quillmet and any other "
    "programs that might be using the file \"%s\". Then run the installer again.\r\n\r\n"
    "Installation cannot be completed because the file is currently being used.";

class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (Valid()) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

  private:
    HANDLE handle_;
};

void ShowError(InstallingPage& page, const char* text) {
    MessageBoxA(page.Window(), text, "Install Error", MB_ICONERROR);
}

bool SeekTo(HANDLE file, LONGLONG offset, DWORD method) {
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    return SetFilePointerEx(file, distance, nullptr, method) != FALSE;
}

// Reads count bytes (at most one chunk); false on a short read.
bool ReadChunk(HANDLE file, unsigned char* buffer, DWORD count) {
    DWORD read = 0;
    return ReadFile(file, buffer, count, &read, nullptr) && read == count;
}

enum class Outcome { Done, Stopped, Corrupt };

// The whole set-up file, judged before anything is written: a damaged file must never
// replace a working installation.
Outcome CheckSetupFile(InstallingPage& page, HANDLE file, InstallTrailer& trailer,
                       unsigned char* buffer) {
    LARGE_INTEGER length{};
    unsigned char tail[kTrailerLength];
    if (!GetFileSizeEx(file, &length) || length.QuadPart < static_cast<LONGLONG>(kTrailerLength) ||
        !SeekTo(file, -static_cast<LONGLONG>(kTrailerLength), FILE_END) ||
        !ReadChunk(file, tail, sizeof tail)) {
        return Outcome::Corrupt;
    }
    trailer = ParseInstallTrailer(tail);
    if (!TrailerFitsFile(trailer, static_cast<std::uint64_t>(length.QuadPart))) {
        return Outcome::Corrupt;
    }
    std::uint64_t remaining = static_cast<std::uint64_t>(length.QuadPart) - kTrailerLength;
    std::uint32_t sum = 0;
    if (!SeekTo(file, 0, FILE_BEGIN)) return Outcome::Corrupt;
    while (remaining > 0) {
        const DWORD count = remaining < kChunkSize ? static_cast<DWORD>(remaining) : kChunkSize;
        if (!ReadChunk(file, buffer, count)) return Outcome::Corrupt;
        sum = AddToChecksum(sum, buffer, count);
        remaining -= count;
        if (PumpPageMessages(page)) return Outcome::Stopped;
    }
    return sum == trailer.checksum ? Outcome::Done : Outcome::Corrupt;
}

void TargetFolder(const PayloadEntry& entry, const InstallingPage& page, char (&out)[kPathSize]) {
    if (entry.folder == nullptr) {
        std::snprintf(out, sizeof out, "%s", page.programFolder);
    } else {
        SharedDataFolder(entry.folder, out);
    }
}

void ReportUncreatable(InstallingPage& page, const char* path, DWORD error) {
    if (error != ERROR_SHARING_VIOLATION) {
        ReportUnwritableFile(page.Window(), path);
        return;
    }
    char text[sizeof kInUseText + kPathSize];
    std::snprintf(text, sizeof text, kInUseText, path);
    ShowError(page, text);
}

// Copies one entry from the set-up file's current position.
Outcome CopyEntry(InstallingPage& page, HANDLE source, const char* target, DWORD size,
                  std::uint64_t& done, std::uint64_t total, unsigned char* buffer) {
    FileHandle out(CreateFileA(target, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out.Valid()) {
        ReportUncreatable(page, target, GetLastError());
        return Outcome::Corrupt;
    }
    DWORD remaining = size;
    while (remaining > 0) {
        const DWORD count = remaining < kChunkSize ? remaining : kChunkSize;
        if (!ReadChunk(source, buffer, count)) {
            ShowError(page, kCorruptText);
            return Outcome::Corrupt;
        }
        DWORD written = 0;
        if (!WriteFile(out.Get(), buffer, count, &written, nullptr) || written != count) {
            ReportUnwritableFile(page.Window(), target);
            return Outcome::Corrupt;
        }
        remaining -= count;
        done += count;
        SetPageProgress(page,
                        total > 0 ? static_cast<double>(done) / static_cast<double>(total) : 1.0);
        if (PumpPageMessages(page)) return Outcome::Stopped;
    }
    return Outcome::Done;
}

}  // namespace

bool ExtractPayload(InstallingPage& page) {
    if (GetFileAttributesA(page.programFolder) == INVALID_FILE_ATTRIBUTES) {
        ShowError(page, kAdministratorText);
        return false;
    }
    if (!CheckWindowsVersion()) return false;
    SetPageStatusLine(0, page, "Installing Quillmet");
    SetPageStatusLine(1, page, "Software Licence Terms");

    char own[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, own, sizeof own - 1);
    FileHandle source(CreateFileA(own, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!source.Valid()) return false;

    // One fixed buffer; nothing is ever allocated from a size read from the file.
    unsigned char buffer[kChunkSize];
    InstallTrailer trailer{};
    const Outcome check = CheckSetupFile(page, source.Get(), trailer, buffer);
    if (check == Outcome::Stopped) return false;
    if (check == Outcome::Corrupt) {
        ShowError(page, kCorruptText);
        return false;
    }

    std::uint64_t total = 0;
    for (std::int32_t size : trailer.sizes) total += static_cast<std::uint64_t>(size);
    std::uint64_t done = 0;
    if (!SeekTo(source.Get(), 0, FILE_BEGIN)) return false;
    for (int i = 0; i < kPayloadEntryCount; ++i) {
        if (trailer.sizes[i] <= 0) continue;
        const PayloadEntry& entry = kPayloadTable[i];
        SetPageStatusLine(1, page, entry.name);
        char folder[kPathSize];
        TargetFolder(entry, page, folder);
        char target[kPathSize];
        PathJoin(folder, entry.name, target);
        const Outcome copied = CopyEntry(page, source.Get(), target,
                                         static_cast<DWORD>(trailer.sizes[i]), done, total, buffer);
        if (copied != Outcome::Done) return false;
    }
    if (PumpPageMessages(page)) return false;
    if (!FinishInstallation(page.Window(), page.programFolder)) return false;
    page.installed = true;
    return true;
}

void InstallingPage::OnDeferredWork() {
    PostMessageA(GetParent(window_), PSM_SETWIZBUTTONS, 0, PSWIZB_DISABLEDFINISH);
    if (ExtractPayload(*this)) {
        PressNextOrFinish(*this);
    } else if (!StopRequested()) {
        PressWizardButton(*this, PSBTN_CANCEL);
    }
}
