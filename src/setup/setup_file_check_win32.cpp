#include "setup/setup_file_check_win32.h"

#include "base/file_handle_win32.h"
#include "ui/progress_dialog_win32.h"

SetupFileCheck CheckSetupFile(TimedWizardPage& page, HANDLE file, InstallTrailer& trailer) {
    LARGE_INTEGER length{};
    unsigned char tail[kTrailerLength];
    if (!GetFileSizeEx(file, &length) || length.QuadPart < static_cast<LONGLONG>(kTrailerLength) ||
        !SeekFile(file, -static_cast<LONGLONG>(kTrailerLength), FILE_END) ||
        !ReadExactly(file, tail, sizeof tail)) {
        return SetupFileCheck::Damaged;
    }
    trailer = ParseInstallTrailer(tail);
    if (!IsSetupTrailer(trailer, static_cast<std::uint64_t>(length.QuadPart))) {
        return SetupFileCheck::Damaged;
    }
    // One fixed buffer; nothing is ever allocated from a size read from the file.
    unsigned char buffer[kSetupFileChunkSize];
    std::uint64_t remaining = static_cast<std::uint64_t>(length.QuadPart) - kTrailerLength;
    std::uint32_t sum = 0;
    if (!SeekFile(file, 0, FILE_BEGIN)) return SetupFileCheck::Damaged;
    while (remaining > 0) {
        const DWORD count =
            remaining < kSetupFileChunkSize ? static_cast<DWORD>(remaining) : kSetupFileChunkSize;
        if (!ReadExactly(file, buffer, count)) return SetupFileCheck::Damaged;
        sum = AddToChecksum(sum, buffer, count);
        remaining -= count;
        if (PumpPageMessages(page)) return SetupFileCheck::Stopped;
    }
    return sum == trailer.checksum ? SetupFileCheck::Sound : SetupFileCheck::Damaged;
}
