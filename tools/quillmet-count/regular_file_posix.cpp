#include "regular_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

RegularFile::~RegularFile() {
    Unmap();
    if (descriptor_ >= 0) close(descriptor_);
}

bool RegularFile::Open(const char* path) {
    const int descriptor = open(path, O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return false;
    struct stat info;
    if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
        close(descriptor);
        return false;
    }
    descriptor_ = descriptor;
    size_ = static_cast<std::uint64_t>(info.st_size);
    // Each counting thread reads its range from start to end.
    posix_fadvise(descriptor_, 0, 0, POSIX_FADV_SEQUENTIAL);
    return true;
}

bool RegularFile::ReadAt(std::uint64_t offset, char* buffer, std::size_t size, std::size_t* got,
                         int* errorNumber) const {
    for (;;) {
        const ssize_t read = pread(descriptor_, buffer, size, static_cast<off_t>(offset));
        if (read >= 0) {
            *got = static_cast<std::size_t>(read);
            return true;
        }
        if (errno != EINTR) {
            *errorNumber = errno;
            return false;
        }
    }
}

bool RegularFile::Map() {
    if (view_ != nullptr) return true;
    if (size_ == 0 || size_ > SIZE_MAX / 2) return false;
    void* view =
        mmap(nullptr, static_cast<std::size_t>(size_), PROT_READ, MAP_PRIVATE, descriptor_, 0);
    if (view == MAP_FAILED) return false;
    // Read from start to end, by each counting thread in its own range.
    madvise(view, static_cast<std::size_t>(size_), MADV_SEQUENTIAL);
    view_ = static_cast<const char*>(view);
    return true;
}

void RegularFile::Unmap() {
    if (view_ != nullptr) munmap(const_cast<char*>(view_), static_cast<std::size_t>(size_));
    view_ = nullptr;
}
