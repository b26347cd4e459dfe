// The set-up file's appended data: the payload entries, their sizes, the checksum and the
// run-mode marker, and how a set-up file is judged sound before anything is written.
// Platform-free.
//
// Layout (all numbers 32-bit little-endian), N = kPayloadEntryCount:
//   data of entry 0 (the program image itself) | data of entry 1 | ... |
//   N signed sizes | checksum (byte sum of all data, mod 2^32) | marker
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Where an entry goes: folder null is the program folder, "" the shared data folder, a name a
// sub-folder of the shared data folder.
struct PayloadEntry {
    const char* folder;
    const char* name;
};

// The entries of this program, in file order, ended by a row without a name.
extern const PayloadEntry kPayloadTable[];
constexpr int kPayloadEntryCount = 3;

// The bytes at the end of a set-up file that hold the sizes, the checksum and the marker.
constexpr std::size_t kTrailerLength = 4 * (kPayloadEntryCount + 2);

struct InstallTrailer {
    std::int32_t sizes[kPayloadEntryCount];
    std::uint32_t checksum;
    std::uint32_t marker;
};

// Reads the trailer from the file's last kTrailerLength bytes.
InstallTrailer ParseInstallTrailer(const unsigned char (&tail)[kTrailerLength]);

// Whether the trailer can describe a file of fileLength bytes: no size is negative and the
// sizes, the trailer and nothing else make up the whole file (computed in 64 bits, so no
// size can wrap the sum).
bool TrailerFitsFile(const InstallTrailer& trailer, std::uint64_t fileLength);

// Whether the trailer is a set-up file's: it fits the file and ends in the set-up marker. The
// byte sum of the data must still be checked against its checksum.
bool IsSetupTrailer(const InstallTrailer& trailer, std::uint64_t fileLength);

// Adds bytes to a running byte sum (mod 2^32).
std::uint32_t AddToChecksum(std::uint32_t sum, const unsigned char* bytes, std::size_t count);

// The trailer as the packaging tool writes it, for tests and tools: sizes, checksum, marker.
std::string FormatInstallTrailer(const InstallTrailer& trailer);
