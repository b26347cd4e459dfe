// The version file reader with arbitrary replies: the version is none or a version x 100 of at
// most 7 integer digits; the info address is empty or an http(s) address of at most 259
// characters with no ending character in it; a reply whose header has not ended (an empty line
// before any zero byte) yields nothing.
#include <strings.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "net/periodic_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    const VersionFile file = ReadVersionFile(text, size);
    bool ok = file.version >= -1 && file.version <= 999999999;
    const std::size_t infoLength = strnlen(file.info, sizeof file.info);
    ok = ok && infoLength < sizeof file.info;
    if (infoLength > 0) {
        ok = ok && (strncasecmp(file.info, "http://", 7) == 0 ||
                    strncasecmp(file.info, "https://", 8) == 0);
        for (std::size_t i = 0; i < infoLength; ++i) {
            const unsigned char c = static_cast<unsigned char>(file.info[i]);
            ok = ok && c != '&' && c != ' ' && c >= 0x20 && c != 0x7F;
        }
    }
    bool headerEnded = false, lineEmpty = true;
    for (std::size_t i = 0; i < size && text[i] != '\0' && !headerEnded; ++i) {
        if (text[i] == '\n') {
            headerEnded = lineEmpty;
            lineEmpty = true;
        } else if (text[i] != '\r') {
            lineEmpty = false;
        }
    }
    if (!headerEnded) ok = ok && file.version == -1 && infoLength == 0;
    if (!ok) std::abort();
    return 0;
}
