// The version file reader with arbitrary replies: the version is none or a version x 100 of at
// most 7 integer digits, the info address is empty or an http(s) address of at most 259
// characters without an ending character in it, and both come from the body only: a reply
// whose header has not ended yields nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "net/periodic_checks.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool StartsWithNoCase(const char* text, const char* prefix) {
    for (; *prefix != '\0'; ++prefix, ++text) {
        const char c = (*text >= 'A' && *text <= 'Z') ? static_cast<char>(*text + 32) : *text;
        if (c != *prefix) return false;
    }
    return true;
}

// The header has ended: an empty line (CRs dropped) before any zero byte.
bool HeaderEnds(const char* data, std::size_t size) {
    bool lineEmpty = true;
    for (std::size_t i = 0; i < size && data[i] != '\0'; ++i) {
        if (data[i] == '\n') {
            if (lineEmpty) return true;
            lineEmpty = true;
        } else if (data[i] != '\r') {
            lineEmpty = false;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    const VersionFile file = ReadVersionFile(text, size);
    Check(file.version == -1 || (file.version >= 0 && file.version <= 999999999));
    const std::size_t infoLength = strnlen(file.info, sizeof file.info);
    Check(infoLength < sizeof file.info);
    if (infoLength > 0) {
        Check(StartsWithNoCase(file.info, "http://") || StartsWithNoCase(file.info, "https://"));
        for (std::size_t i = 0; i < infoLength; ++i) {
            const unsigned char c = static_cast<unsigned char>(file.info[i]);
            Check(c != '&' && c != ' ' && c >= 0x20 && c != 0x7F);
        }
    }
    if (!HeaderEnds(text, size)) Check(file.version == -1 && infoLength == 0);
    return 0;
}
