// The path routines with arbitrary folder, name and suffix texts: nothing may be written
// outside the 260-byte results, every result stays within 259 characters, and each result
// is what a plain string model of the rule gives.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "base/paths.h"

namespace {

// A result buffer of exactly 260 bytes on the heap, so that the sanitizer sees any byte
// written past it.
class ResultBuffer {
  public:
    ResultBuffer() : storage_(new char[kPathSize]) { std::memset(storage_.get(), 'R', kPathSize); }
    char (&Text())[kPathSize] { return *reinterpret_cast<char(*)[kPathSize]>(storage_.get()); }
    std::string String() { return std::string(storage_.get()); }

  private:
    std::unique_ptr<char[]> storage_;
};

void Check(bool condition) {
    if (!condition) std::abort();
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string ModelJoin(const std::string& folder, const std::string& name,
                      const std::string& suffix) {
    if (folder.size() >= kMaxPathLength) return folder.substr(0, kMaxPathLength);
    std::string full = folder;
    if (!full.empty() && !IsSeparator(full.back())) full += '\\';
    full += name;
    full += suffix;
    return full.substr(0, kMaxPathLength);
}

std::string ModelDirectory(const std::string& path) {
    const std::string scanned = path.substr(0, kPathSize);
    const std::size_t last = scanned.find_last_of("\\/");
    if (last == std::string::npos || last == 0) return "";
    return scanned.substr(0, last);
}

std::string ModelFileName(const std::string& path) {
    const std::size_t last = path.find_last_of("\\/");
    const std::string name = last == std::string::npos ? path : path.substr(last + 1);
    return name.substr(0, kMaxPathLength);
}

void CheckResult(ResultBuffer& result, const std::string& expected) {
    Check(std::strlen(result.Text()) <= kMaxPathLength);
    Check(result.String() == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The input is up to three texts separated by zero bytes: folder, name, suffix.
    std::string parts[3];
    std::size_t part = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            if (++part == 3) break;
        } else {
            parts[part] += static_cast<char>(data[i]);
        }
    }
    const std::string& folder = parts[0];
    const std::string& name = parts[1];
    const std::string& suffix = parts[2];

    ResultBuffer joined;
    PathJoin(folder.c_str(), name.c_str(), joined.Text());
    CheckResult(joined, ModelJoin(folder, name, ""));

    ResultBuffer withSuffix;
    PathJoinWithSuffix(folder.c_str(), name.c_str(), suffix.c_str(), withSuffix.Text());
    CheckResult(withSuffix, ModelJoin(folder, name, suffix));

    ResultBuffer directory;
    PathDirectory(folder.c_str(), directory.Text());
    CheckResult(directory, ModelDirectory(folder));

    ResultBuffer fileName;
    PathFileName(folder.c_str(), fileName.Text());
    CheckResult(fileName, ModelFileName(folder));

    // The same routines writing over one of their own inputs.
    ResultBuffer inPlace;
    std::snprintf(inPlace.Text(), kPathSize, "%s", folder.c_str());
    const std::string before = inPlace.String();
    PathJoinWithSuffix(inPlace.Text(), name.c_str(), suffix.c_str(), inPlace.Text());
    CheckResult(inPlace, ModelJoin(before, name, suffix));

    std::snprintf(inPlace.Text(), kPathSize, "%s", name.c_str());
    PathJoin(folder.c_str(), inPlace.Text(), inPlace.Text());
    CheckResult(inPlace, ModelJoin(folder, name.substr(0, kMaxPathLength), ""));

    std::snprintf(inPlace.Text(), kPathSize, "%s", folder.c_str());
    PathDirectory(inPlace.Text(), inPlace.Text());
    CheckResult(inPlace, ModelDirectory(before));

    std::snprintf(inPlace.Text(), kPathSize, "%s", folder.c_str());
    PathFileName(inPlace.Text(), inPlace.Text());
    CheckResult(inPlace, ModelFileName(before));
    return 0;
}
