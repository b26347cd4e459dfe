#include "setup/run_mode.h"

#include <cstring>

RunMode RunModeFromMarker(std::uint32_t marker) {
    if (marker == kSetupMarker) return RunMode::Setup;
    if (marker == kUninstallMarker) return RunMode::Uninstall;
    return RunMode::Normal;
}

std::uint32_t MarkerFromBytes(const unsigned char (&bytes)[4]) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

bool LooksLikeSetupFileName(const char* fileName) {
    char base[260];
    std::size_t length = 0;
    for (; fileName[length] != '\0' && length < sizeof base - 1; ++length) {
        char c = fileName[length];
        base[length] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    base[length] = '\0';
    if (char* stop = std::strrchr(base, '.'); stop != nullptr && stop != base) *stop = '\0';
    return std::strstr(base, "SETUP") != nullptr;
}
