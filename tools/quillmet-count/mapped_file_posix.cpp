#include "mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

MappedFile::~MappedFile() {
    if (data_ != nullptr) munmap(const_cast<char*>(data_), size_);
}

bool MappedFile::Open(const char* path, std::size_t minimumSize) {
    const int file = open(path, O_RDONLY | O_CLOEXEC);
    if (file < 0) return false;
    struct stat info;
    void* view = MAP_FAILED;
    if (fstat(file, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
        static_cast<std::uintmax_t>(info.st_size) >= minimumSize &&
        static_cast<std::uintmax_t>(info.st_size) <= SIZE_MAX) {
        view =
            mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_PRIVATE, file, 0);
    }
    close(file);  // the mapping keeps the file
    if (view == MAP_FAILED) return false;
    data_ = static_cast<const char*>(view);
    size_ = static_cast<std::size_t>(info.st_size);
    // Read from start to end, by each counting thread in its own part.
    madvise(view, size_, MADV_SEQUENTIAL);
    return true;
}
