#include "regular_file.h"

#include <windows.h>

#include <cerrno>

RegularFile::~RegularFile() {
    Unmap();
    if (handle_ != nullptr) CloseHandle(handle_);
}

bool RegularFile::Open(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size) || size.QuadPart < 0) {
        CloseHandle(file);
        return false;
    }
    handle_ = file;
    size_ = static_cast<std::uint64_t>(size.QuadPart);
    return true;
}

bool RegularFile::ReadAt(std::uint64_t offset, char* buffer, std::size_t size, std::size_t* got,
                         int* errorNumber) const {
    // One call reads at most what a DWORD counts; the callers' buffers are far smaller.
    const DWORD wanted = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    if (ReadFile(static_cast<HANDLE>(handle_), buffer, wanted, &read, &at)) {
        *got = read;
        return true;
    }
    if (GetLastError() == ERROR_HANDLE_EOF) {  // at or past the end of the file
        *got = 0;
        return true;
    }
    *errorNumber = EIO;
    return false;
}

bool RegularFile::Map() {
    if (view_ != nullptr) return true;
    // A 32-bit process maps what fits its address space; larger files are read.
    if (size_ == 0 || size_ > SIZE_MAX / 2) return false;
    mapping_ =
        CreateFileMappingA(static_cast<HANDLE>(handle_), nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping_ == nullptr) return false;
    view_ = static_cast<const char*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0));
    if (view_ == nullptr) Unmap();
    return view_ != nullptr;
}

void RegularFile::Unmap() {
    if (view_ != nullptr) UnmapViewOfFile(view_);
    if (mapping_ != nullptr) CloseHandle(mapping_);
    view_ = nullptr;
    mapping_ = nullptr;
}
