// A regular file opened for counting: read at given offsets (pread; ReadFile at an offset on
// Windows), so that several threads read their own ranges at once through one handle, each
// into its own buffer; or mapped into memory whole, where page faults cost less than copying
// from the page cache (which differs between machines: see reading_way.h).
#pragma once

#include <cstddef>
#include <cstdint>

class RegularFile {
  public:
    RegularFile() = default;
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    // Opens the file at `path` when it is a regular file. False when it is not (a folder, a
    // pipe, a device) or cannot be opened or examined: the caller reads it as a stream instead,
    // and meets the error there, if any.
    bool Open(const char* path);

    // The size when it was opened.
    std::uint64_t size() const { return size_; }

    // Reads up to `size` bytes at `offset` into `buffer`; *got is 0 at the end of the file.
    // False on a read error, with errno's value for it in *errorNumber. Safe to call from
    // several threads at once.
    bool ReadAt(std::uint64_t offset, char* buffer, std::size_t size, std::size_t* got,
                int* errorNumber) const;

    // Maps the whole file for reading. False when it cannot (an empty file, one larger than the
    // address space takes); then view() stays null and the file is read.
    bool Map();
    void Unmap();

    // The mapped bytes, or null when the file is not mapped.
    const char* view() const { return view_; }

  private:
    std::uint64_t size_ = 0;
    const char* view_ = nullptr;
#ifdef _WIN32
    void* handle_ = nullptr;
    void* mapping_ = nullptr;  // the file mapping object behind the view
#else
    int descriptor_ = -1;
#endif
};
