#include <windows.h>

#include <cstdio>
#include <cstring>

#include "base/file_handle_win32.h"
#include "settings/system_checks_win32.h"
#include "setup/install_payload.h"
#include "setup/install_steps_win32.h"
#include "setup/installing_page_win32.h"
#include "setup/payload_extraction_win32.h"
#include "setup/setup_file_check_win32.h"
#include "ui/progress_dialog_win32.h"

namespace {

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

// The entries' new files, written under temporary names beside their targets. Whatever has
// not been moved into place when this goes is deleted, so a cancelled or failed copy leaves
// the earlier installation as it was.
struct PendingFiles {
    PendingFiles() = default;
    ~PendingFiles() {
        for (const char* path : temporary) {
            if (path[0] != '\0') DeleteFileA(path);
        }
    }
    PendingFiles(const PendingFiles&) = delete;
    PendingFiles& operator=(const PendingFiles&) = delete;

    char target[kPayloadEntryCount][kPathSize] = {};
    char temporary[kPayloadEntryCount][kPathSize] = {};
};

void ShowError(InstallingPage& page, const char* text) {
    MessageBoxA(page.Window(), text, "Install Error", MB_ICONERROR);
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

// An existing target must be replaceable before anything is copied: a file in use (the
// running program) or one that cannot be written is reported now, and nothing changes.
bool TargetReplaceable(InstallingPage& page, const char* target) {
    FileHandle existing(CreateFileA(target, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (existing.Valid()) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return true;
    ReportUncreatable(page, target, error);
    return false;
}

enum class Outcome { Done, Stopped, Corrupt };

// Copies one entry from the set-up file's current position into file; failures are reported
// with the entry's target path, the name the user knows.
Outcome CopyEntry(InstallingPage& page, HANDLE source, const char* file, const char* target,
                  DWORD size, std::uint64_t& done, std::uint64_t total, unsigned char* buffer) {
    FileHandle out(CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out.Valid()) {
        ReportUncreatable(page, target, GetLastError());
        return Outcome::Corrupt;
    }
    DWORD remaining = size;
    while (remaining > 0) {
        const DWORD count = remaining < kSetupFileChunkSize ? remaining : kSetupFileChunkSize;
        if (!ReadExactly(source, buffer, count)) {
            ShowError(page, kCorruptText);
            return Outcome::Corrupt;
        }
        if (!WriteExactly(out.Get(), buffer, count)) {
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

    // The whole set-up file is judged before anything is written: a damaged file must never
    // replace a working installation.
    InstallTrailer trailer{};
    const SetupFileCheck check = CheckSetupFile(page, source.Get(), trailer);
    if (check == SetupFileCheck::Stopped) return false;
    if (check == SetupFileCheck::Damaged) {
        ShowError(page, kCorruptText);
        return false;
    }

    PendingFiles files;
    std::uint64_t total = 0;
    for (int i = 0; i < kPayloadEntryCount; ++i) {
        if (trailer.sizes[i] <= 0) continue;
        total += static_cast<std::uint64_t>(trailer.sizes[i]);
        const PayloadEntry& entry = kPayloadTable[i];
        char folder[kPathSize];
        TargetFolder(entry, page, folder);
        PathJoin(folder, entry.name, files.target[i]);
        if (!TargetReplaceable(page, files.target[i])) return false;
    }

    unsigned char buffer[kSetupFileChunkSize];
    std::uint64_t done = 0;
    if (!SeekFile(source.Get(), 0, FILE_BEGIN)) return false;
    for (int i = 0; i < kPayloadEntryCount; ++i) {
        if (trailer.sizes[i] <= 0) continue;
        const char* target = files.target[i];
        SetPageStatusLine(1, page, kPayloadTable[i].name);
        char temporary[kPathSize];
        const int length = std::snprintf(temporary, sizeof temporary, "%s.new", target);
        if (length < 0 || static_cast<std::size_t>(length) >= sizeof temporary) {
            ReportUnwritableFile(page.Window(), target);  // no room for the temporary name
            return false;
        }
        std::memcpy(files.temporary[i], temporary, sizeof temporary);
        const Outcome copied = CopyEntry(page, source.Get(), temporary, target,
                                         static_cast<DWORD>(trailer.sizes[i]), done, total, buffer);
        if (copied != Outcome::Done) return false;
    }
    if (PumpPageMessages(page)) return false;

    // Every entry is complete: only now do the old files go.
    for (int i = 0; i < kPayloadEntryCount; ++i) {
        if (files.temporary[i][0] == '\0') continue;
        if (!MoveFileExA(files.temporary[i], files.target[i], MOVEFILE_REPLACE_EXISTING)) {
            ReportUncreatable(page, files.target[i], GetLastError());
            return false;
        }
        files.temporary[i][0] = '\0';
    }
    if (!FinishInstallation(page.Window(), page.programFolder)) return false;
    page.installed = true;
    return true;
}
