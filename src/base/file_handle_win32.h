// A file handle closed when its holder goes, and whole reads, writes and moves of the file
// pointer: each of those is true only when it did all it was asked.
#pragma once

#include <windows.h>

class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Close() {
        if (Valid()) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

  private:
    HANDLE handle_;
};

// Moves the pointer offset bytes from FILE_BEGIN, FILE_CURRENT or FILE_END; position (when
// given) receives where it now stands.
inline bool SeekFile(HANDLE file, LONGLONG offset, DWORD method, ULONGLONG* position = nullptr) {
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER now{};
    if (!SetFilePointerEx(file, distance, &now, method)) return false;
    if (position != nullptr) *position = static_cast<ULONGLONG>(now.QuadPart);
    return true;
}

inline bool ReadExactly(HANDLE file, void* buffer, DWORD count) {
    DWORD read = 0;
    return ReadFile(file, buffer, count, &read, nullptr) && read == count;
}

inline bool WriteExactly(HANDLE file, const void* bytes, DWORD count) {
    DWORD written = 0;
    return WriteFile(file, bytes, count, &written, nullptr) && written == count;
}
