#include "base/paths.h"

#include <cstring>

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// A path under construction. Built apart from the caller's buffer so that the output may be
// one of the inputs.
class PathBuilder {
  public:
    // Appends characters of text while the length stays within 259.
    void Append(const char* text) {
        if (text == nullptr) return;
        while (*text != '\0' && length_ < kMaxPathLength) text_[length_++] = *text++;
        text_[length_] = '\0';
    }
    void AppendSeparatorIfNeeded() {
        if (length_ > 0 && !IsSeparator(text_[length_ - 1])) Append("\\");
    }
    std::size_t Length() const { return length_; }
    void CopyTo(char (&out)[kPathSize]) const { std::memcpy(out, text_, length_ + 1); }

  private:
    char text_[kPathSize] = {};
    std::size_t length_ = 0;
};

// Length of text, but no more than limit characters are looked at.
std::size_t BoundedLength(const char* text, std::size_t limit) {
    if (text == nullptr) return 0;
    std::size_t length = 0;
    while (length < limit && text[length] != '\0') ++length;
    return length;
}

// Folder part shared by both joins. Returns false when the folder alone fills the result.
bool StartJoin(const char* folder, PathBuilder& path) {
    path.Append(folder);
    if (BoundedLength(folder, kMaxPathLength) >= kMaxPathLength) return false;
    path.AppendSeparatorIfNeeded();
    return true;
}

}  // namespace

void PathJoin(const char* folder, const char* name, char (&out)[kPathSize]) {
    PathBuilder path;
    if (StartJoin(folder, path)) path.Append(name);
    path.CopyTo(out);
}

void PathJoinWithSuffix(const char* folder, const char* name, const char* suffix,
                        char (&out)[kPathSize]) {
    PathBuilder path;
    if (StartJoin(folder, path)) {
        path.Append(name);
        path.Append(suffix);
    }
    path.CopyTo(out);
}

void PathDirectory(const char* path, char (&out)[kPathSize]) {
    const std::size_t scanned = BoundedLength(path, kPathSize);
    std::size_t lastSeparator = 0;
    for (std::size_t i = 0; i < scanned; ++i) {
        if (IsSeparator(path[i])) lastSeparator = i;
    }
    // lastSeparator is at most 259, so the folder always fits. memmove: out may be path.
    if (lastSeparator > 0) std::memmove(out, path, lastSeparator);
    out[lastSeparator] = '\0';
}

void PathFileName(const char* path, char (&out)[kPathSize]) {
    const char* name = path != nullptr ? path : "";
    for (const char* p = name; *p != '\0'; ++p) {
        if (IsSeparator(*p)) name = p + 1;
    }
    const std::size_t length = BoundedLength(name, kMaxPathLength);
    std::memmove(out, name, length);
    out[length] = '\0';
}
