// Which of its three roles the executable plays, from the four-byte marker at the very end of
// its own file.
#pragma once

#include <cstdint>

constexpr std::uint32_t kSetupMarker = 0x0F0FF0F0;
constexpr std::uint32_t kUninstallMarker = 0xF0F00F0F;

enum class RunMode { Normal, Setup, Uninstall };

RunMode RunModeFromMarker(std::uint32_t marker);

// The marker is stored little-endian.
std::uint32_t MarkerFromBytes(const unsigned char (&bytes)[4]);

// True when a file name (without folder) reads as a set-up program: its base name (cut at the
// last full stop unless that is the first character), in upper case, contains "SETUP".
bool LooksLikeSetupFileName(const char* fileName);
