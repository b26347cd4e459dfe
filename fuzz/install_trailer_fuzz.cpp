// The set-up file's trailer with arbitrary tails, file lengths and data: reading and writing
// it back gives the same bytes, a trailer fits a file exactly when its sizes are non-negative
// and they and the trailer make up the whole length, and the byte sum adds up in any split.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "setup/install_payload.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The input: the trailer's bytes, then a file length (8 bytes), then data to sum.
    unsigned char tail[kTrailerLength] = {};
    for (std::size_t i = 0; i < kTrailerLength && i < size; ++i) tail[i] = data[i];
    std::uint64_t length = 0;
    for (std::size_t i = kTrailerLength; i < kTrailerLength + 8 && i < size; ++i) {
        length |= static_cast<std::uint64_t>(data[i]) << 8 * (i - kTrailerLength);
    }

    const InstallTrailer trailer = ParseInstallTrailer(tail);
    Check(FormatInstallTrailer(trailer) == std::string(reinterpret_cast<char*>(tail), sizeof tail));

    // The trailer as read, and a twin whose sizes lie within 16 of the largest a size can be,
    // so that with the trailer they mostly pass 4 GiB.
    InstallTrailer huge = trailer;
    for (std::int32_t& entrySize : huge.sizes) entrySize = INT32_MAX - (entrySize & 0xF);
    for (const InstallTrailer& t : {trailer, huge}) {
        bool sound = true;
        std::uint64_t whole = kTrailerLength;
        for (std::int32_t entrySize : t.sizes) {
            sound = sound && entrySize >= 0;
            whole += static_cast<std::uint64_t>(static_cast<std::int64_t>(entrySize));
        }
        Check(TrailerFitsFile(t, length) == (sound && whole == length));
        Check(TrailerFitsFile(t, whole) == sound);
        Check(!TrailerFitsFile(t, whole + 1) && !TrailerFitsFile(t, whole - 1));
        Check(whole >> 32 == 0 || !TrailerFitsFile(t, whole & 0xFFFFFFFF));
    }

    const std::size_t rest = size > kTrailerLength + 8 ? size - kTrailerLength - 8 : 0;
    const unsigned char* bytes = data + (size - rest);
    std::uint32_t expected = trailer.checksum;
    for (std::size_t i = 0; i < rest; ++i) expected += bytes[i];
    const std::size_t split = length % (rest + 1);
    Check(AddToChecksum(AddToChecksum(trailer.checksum, bytes, split), bytes + split,
                        rest - split) == expected);
    return 0;
}
