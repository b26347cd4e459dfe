// Path routines shared by start-up, the invoice dialog and the installer. Paths hold at most
// 259 characters in 260-byte buffers; "\" is the separator added, and both "\" and "/" count
// as separators when a path is split or joined. Platform-free.
#pragma once

#include <cstddef>

constexpr std::size_t kPathSize = 260;
constexpr std::size_t kMaxPathLength = kPathSize - 1;

// folder + "\" + name. A folder of 259 characters or more is the whole result; no separator
// is added after an empty folder or one that already ends in a separator; the name is cut so
// the result stays within 259 characters. out may be the same buffer as folder or name.
void PathJoin(const char* folder, const char* name, char (&out)[kPathSize]);

// As PathJoin, then the suffix's characters while the result stays within 259 characters.
void PathJoinWithSuffix(const char* folder, const char* name, const char* suffix,
                        char (&out)[kPathSize]);

// The characters before the last separator among the first 260; "" when there is none or
// the only one is the first character. out may be the same buffer as path.
void PathDirectory(const char* path, char (&out)[kPathSize]);

// The characters after the last separator (the whole path when there is none), at most 259.
// out may be the same buffer as path.
void PathFileName(const char* path, char (&out)[kPathSize]);
