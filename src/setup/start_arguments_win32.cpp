#include "setup/start_arguments_win32.h"

#include <windows.h>

namespace {

// The long, full form of a path, for comparing two ways of writing it; as given when the file
// does not exist.
std::string LongFullPath(const std::string& path) {
    char full[MAX_PATH] = {};
    if (GetFullPathNameA(path.c_str(), sizeof full, full, nullptr) == 0) return path;
    char longPath[MAX_PATH] = {};
    const DWORD length = GetLongPathNameA(full, longPath, sizeof longPath);
    return length > 0 && length < sizeof longPath ? longPath : full;
}

}  // namespace

bool SamePath(const std::string& a, const std::string& b) {
    return lstrcmpiA(LongFullPath(a).c_str(), LongFullPath(b).c_str()) == 0;
}

StartArguments OwnStartArguments() {
    char own[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, own, sizeof own - 1);
    return ReadStartArguments(GetCommandLineA(), [&](const std::string& candidate) {
        return SamePath(candidate, own) || SamePath(candidate + ".exe", own);
    });
}
