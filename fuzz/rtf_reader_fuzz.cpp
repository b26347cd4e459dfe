// The RTF reader with arbitrary documents: nothing is read out of bounds, the text stays within
// its limit, and only a document that starts with "{\rtf" is read.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "document/code_pages.h"
#include "document/rtf_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view rtf(reinterpret_cast<const char*>(data), size);
    static const SingleByteEncoder encoder(*FindCodePage(1252));
    constexpr std::size_t kLimit = 4096;
    AnsiText text(encoder, kLimit);
    const RtfResult result = RtfDocumentText(rtf, &text);
    if (text.text().size() > kLimit) std::abort();
    if (result == RtfResult::Ok && rtf.compare(0, 5, "{\\rtf") != 0) std::abort();
    return 0;
}
