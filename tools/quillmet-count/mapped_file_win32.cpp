#include "mapped_file.h"

#include <windows.h>

#include <cstdint>

MappedFile::~MappedFile() {
    if (data_ != nullptr) UnmapViewOfFile(data_);
    if (mapping_ != nullptr) CloseHandle(mapping_);
}

bool MappedFile::Open(const char* path, std::size_t minimumSize) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    // A 32-bit process maps what fits its address space; larger files are read in pieces.
    const bool fits = GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) &&
                      size.QuadPart > 0 &&
                      static_cast<std::uint64_t>(size.QuadPart) >= minimumSize &&
                      static_cast<std::uint64_t>(size.QuadPart) <= SIZE_MAX / 2;
    if (fits) mapping_ = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    CloseHandle(file);  // the mapping keeps the file
    if (mapping_ == nullptr) return false;
    data_ = static_cast<const char*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0));
    if (data_ == nullptr) {
        CloseHandle(mapping_);
        mapping_ = nullptr;
        return false;
    }
    size_ = static_cast<std::size_t>(size.QuadPart);
    return true;
}
