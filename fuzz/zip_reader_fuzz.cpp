// The zip reader and inflate with arbitrary files: nothing is read or written out of bounds, an
// entry that is read has exactly its recorded size, which is within the limit and within
// 1000 times its compressed size; raw DEFLATE data either fills its output exactly or is
// refused.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "document/inflate.h"
#include "document/zip_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kLimit = 1 << 20;
    ZipArchive archive;
    if (archive.Open(data, size) == ZipResult::Ok) {
        for (const ZipEntry& entry : archive.entries()) {
            std::string out;
            if (archive.Extract(entry, kLimit, &out) != ZipResult::Ok) {
                if (!out.empty()) std::abort();
                continue;
            }
            if (out.size() != entry.size || out.size() > kLimit) std::abort();
            if (entry.method == 8 && out.size() > std::uint64_t{1000} * entry.compressedSize)
                std::abort();
        }
    }
    // The same bytes as a raw stream, into an output sized by the first two bytes.
    if (size >= 2) {
        std::vector<unsigned char> out(static_cast<std::size_t>(data[0]) * 256 + data[1]);
        unsigned char none = 0;
        Inflate(data + 2, size - 2, out.empty() ? &none : out.data(), out.size());
    }
    return 0;
}
