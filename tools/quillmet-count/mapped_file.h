// A whole file mapped into memory for reading, where the platform can: the count then reads the
// page cache without copying it. Only regular files are mapped.
#pragma once

#include <cstddef>

class MappedFile {
  public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // Maps the file at `path` when it is a regular file of at least `minimumSize` bytes. False
    // when it is not, or when it cannot be opened or mapped: the caller reads it instead (and
    // meets the error there, if any).
    bool Open(const char* path, std::size_t minimumSize);

    const char* data() const { return data_; }
    std::size_t size() const { return size_; }

  private:
    const char* data_ = nullptr;
    std::size_t size_ = 0;
#ifdef _WIN32
    void* mapping_ = nullptr;  // the file mapping object behind the view
#endif
};
