#include "setup/install_payload.h"

#include "setup/run_mode.h"

namespace {

std::uint32_t ReadLittleEndian(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

void AppendLittleEndian(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

}  // namespace

const PayloadEntry kPayloadTable[] = {
    {nullptr, "quillmet.exe"},
    {nullptr, "app.hlp"},
    {nullptr, "manual.html"},
    {nullptr, nullptr},
};

InstallTrailer ParseInstallTrailer(const unsigned char (&tail)[kTrailerLength]) {
    InstallTrailer trailer{};
    for (int i = 0; i < kPayloadEntryCount; ++i) {
        trailer.sizes[i] = static_cast<std::int32_t>(ReadLittleEndian(tail + 4 * i));
    }
    trailer.checksum = ReadLittleEndian(tail + 4 * kPayloadEntryCount);
    trailer.marker = ReadLittleEndian(tail + 4 * kPayloadEntryCount + 4);
    return trailer;
}

bool TrailerFitsFile(const InstallTrailer& trailer, std::uint64_t fileLength) {
    std::uint64_t total = kTrailerLength;
    for (std::int32_t size : trailer.sizes) {
        if (size < 0) return false;
        total += static_cast<std::uint64_t>(size);
    }
    return total == fileLength;
}

bool IsSetupTrailer(const InstallTrailer& trailer, std::uint64_t fileLength) {
    return trailer.marker == kSetupMarker && TrailerFitsFile(trailer, fileLength);
}

std::uint32_t AddToChecksum(std::uint32_t sum, const unsigned char* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) sum += bytes[i];
    return sum;
}

std::string FormatInstallTrailer(const InstallTrailer& trailer) {
    std::string out;
    for (std::int32_t size : trailer.sizes)
        AppendLittleEndian(out, static_cast<std::uint32_t>(size));
    AppendLittleEndian(out, trailer.checksum);
    AppendLittleEndian(out, trailer.marker);
    return out;
}
