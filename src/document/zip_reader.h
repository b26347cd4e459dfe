// Reading one entry of a zip file held in memory: the central directory, stored and deflated
// entries. Platform-free. Every offset and size read from the file is checked against the
// file's length before it is used, and nothing is allocated before that check.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class ZipResult {
    Ok,
    NotZip,    // no readable end of central directory, or a central directory outside the file
    Missing,   // no entry of that name
    Damaged,   // the entry lies outside the file, its data does not decompress to its size and
               // checksum, it is encrypted or of an unknown method, or its ratio is over 1000:1
    TooLarge,  // its decompressed size is over the limit
};

struct ZipEntry {
    std::string name;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint32_t crc = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t size = 0;
    std::uint32_t localHeaderOffset = 0;
};

// A compressed entry may decompress to at most this many times its size.
constexpr std::uint64_t kMaxCompressionRatio = 1000;

class ZipArchive {
  public:
    // Reads the central directory of the zip file `data` (which must outlive the archive).
    ZipResult Open(const unsigned char* data, std::size_t size);

    const std::vector<ZipEntry>& entries() const { return entries_; }
    const ZipEntry* Find(const char* name) const;

    // Decompresses `entry` into `out`, refusing it when its size is over `limit` bytes.
    ZipResult Extract(const ZipEntry& entry, std::size_t limit, std::string* out) const;

  private:
    const unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
    std::vector<ZipEntry> entries_;
};

// CRC-32 of the zip format (and of zlib), continuing from `crc` (0 to start).
std::uint32_t Crc32(std::uint32_t crc, const unsigned char* data, std::size_t size);
