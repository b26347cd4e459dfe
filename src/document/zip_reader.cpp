#include "document/zip_reader.h"

#include <cstring>

#include "document/inflate.h"

namespace {

constexpr std::uint32_t kLocalHeaderSignature = 0x04034B50;
constexpr std::uint32_t kCentralHeaderSignature = 0x02014B50;
constexpr std::uint32_t kEndSignature = 0x06054B50;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kMaxCommentSize = 0xFFFF;

std::uint16_t Read16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t Read32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

struct CrcTables {
    std::uint32_t table[4][256];
    CrcTables() {
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[0][i] = c;
        }
        for (std::uint32_t i = 0; i < 256; ++i) {
            for (int t = 1; t < 4; ++t) {
                table[t][i] = (table[t - 1][i] >> 8) ^ table[0][table[t - 1][i] & 0xFF];
            }
        }
    }
};

}  // namespace

std::uint32_t Crc32(std::uint32_t crc, const unsigned char* data, std::size_t size) {
    static const CrcTables tables;  // constant tables, made once
    const auto& t = tables.table;
    crc = ~crc;
    while (size >= 4) {
        crc ^= Read32(data);
        crc =
            t[3][crc & 0xFF] ^ t[2][(crc >> 8) & 0xFF] ^ t[1][(crc >> 16) & 0xFF] ^ t[0][crc >> 24];
        data += 4;
        size -= 4;
    }
    while (size-- > 0) crc = t[0][(crc ^ *data++) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

ZipResult ZipArchive::Open(const unsigned char* data, std::size_t size) {
    data_ = data;
    size_ = size;
    entries_.clear();
    if (size < kEndSize) return ZipResult::NotZip;
    // The end record is the last one whose comment reaches exactly to the end of the file.
    std::size_t end = size - kEndSize;
    const std::size_t lowest = end > kMaxCommentSize ? end - kMaxCommentSize : 0;
    for (;;) {
        if (Read32(data + end) == kEndSignature && Read16(data + end + 20) == size - end - kEndSize)
            break;
        if (end == lowest) return ZipResult::NotZip;
        --end;
    }
    const unsigned char* record = data + end;
    const std::uint16_t count = Read16(record + 10);
    const std::uint32_t directorySize = Read32(record + 12);
    const std::uint32_t directoryOffset = Read32(record + 16);
    if (Read16(record + 4) != 0 || Read16(record + 6) != 0 || Read16(record + 8) != count)
        return ZipResult::NotZip;  // spanned over several disks
    if (directoryOffset > end || directorySize > end - directoryOffset) return ZipResult::NotZip;
    if (static_cast<std::size_t>(count) * kCentralHeaderSize > directorySize)
        return ZipResult::NotZip;

    entries_.reserve(count);
    const unsigned char* p = data + directoryOffset;
    const unsigned char* const directoryEnd = p + directorySize;
    for (std::uint16_t i = 0; i < count; ++i) {
        if (static_cast<std::size_t>(directoryEnd - p) < kCentralHeaderSize ||
            Read32(p) != kCentralHeaderSignature) {
            entries_.clear();
            return ZipResult::NotZip;
        }
        const std::size_t nameLength = Read16(p + 28);
        const std::size_t variable = nameLength + Read16(p + 30) + Read16(p + 32);
        if (static_cast<std::size_t>(directoryEnd - p) - kCentralHeaderSize < variable) {
            entries_.clear();
            return ZipResult::NotZip;
        }
        ZipEntry entry;
        entry.flags = Read16(p + 8);
        entry.method = Read16(p + 10);
        entry.crc = Read32(p + 16);
        entry.compressedSize = Read32(p + 20);
        entry.size = Read32(p + 24);
        entry.localHeaderOffset = Read32(p + 42);
        entry.name.assign(reinterpret_cast<const char*>(p + kCentralHeaderSize), nameLength);
        entries_.push_back(std::move(entry));
        p += kCentralHeaderSize + variable;
    }
    return ZipResult::Ok;
}

const ZipEntry* ZipArchive::Find(const char* name) const {
    for (const ZipEntry& entry : entries_) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

ZipResult ZipArchive::Extract(const ZipEntry& entry, std::size_t limit, std::string* out) const {
    out->clear();
    // Encrypted entries, and sizes kept in a zip64 record, are not read.
    if ((entry.flags & 1) != 0 || entry.size == 0xFFFFFFFF || entry.compressedSize == 0xFFFFFFFF)
        return ZipResult::Damaged;
    const std::size_t offset = entry.localHeaderOffset;
    if (offset > size_ || size_ - offset < kLocalHeaderSize) return ZipResult::Damaged;
    const unsigned char* header = data_ + offset;
    if (Read32(header) != kLocalHeaderSignature) return ZipResult::Damaged;
    const std::size_t skip = kLocalHeaderSize + Read16(header + 26) + Read16(header + 28);
    if (size_ - offset < skip || size_ - offset - skip < entry.compressedSize)
        return ZipResult::Damaged;
    const unsigned char* compressed = header + skip;

    if (entry.method == 0) {
        if (entry.compressedSize != entry.size) return ZipResult::Damaged;
        if (entry.size > limit) return ZipResult::TooLarge;
        out->assign(reinterpret_cast<const char*>(compressed), entry.size);
    } else if (entry.method == 8) {
        if (entry.size > kMaxCompressionRatio * entry.compressedSize) return ZipResult::Damaged;
        if (entry.size > limit) return ZipResult::TooLarge;
        // The size is now bounded by the file's length (times the ratio) and by the limit.
        out->resize(entry.size);
        auto* target = reinterpret_cast<unsigned char*>(out->empty() ? nullptr : &(*out)[0]);
        unsigned char none = 0;
        if (Inflate(compressed, entry.compressedSize, target != nullptr ? target : &none,
                    entry.size) != InflateResult::Done) {
            out->clear();
            return ZipResult::Damaged;
        }
    } else {
        return ZipResult::Damaged;
    }
    if (Crc32(0, reinterpret_cast<const unsigned char*>(out->data()), out->size()) != entry.crc) {
        out->clear();
        return ZipResult::Damaged;
    }
    return ZipResult::Ok;
}
