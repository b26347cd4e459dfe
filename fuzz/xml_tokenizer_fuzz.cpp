// The XML tokenizer and the .docx and .odt text readers with arbitrary XML: the tokens come in
// a consistent nesting and end in End or Error, and the text stays within its limit.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "document/code_pages.h"
#include "document/office_text.h"
#include "document/xml_tokenizer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view xml(reinterpret_cast<const char*>(data), size);
    XmlTokenizer tokenizer(xml);
    std::size_t depth = 0;
    for (std::size_t steps = 0;; ++steps) {
        if (steps > size + 1) std::abort();  // every token takes at least one byte
        const XmlToken token = tokenizer.Next();
        if (token.kind == XmlTokenKind::Error) break;
        if (token.kind == XmlTokenKind::End) {
            if (depth != 0) std::abort();
            break;
        }
        if (token.kind == XmlTokenKind::EndTag) {
            if (token.depth + 1 != depth) std::abort();
            --depth;
        } else {
            if (token.depth != depth) std::abort();
            if (token.kind == XmlTokenKind::StartTag) ++depth;
        }
        std::string_view value;
        FindXmlAttribute(token.attributes, "text:c", &value);
    }
    static const SingleByteEncoder encoder(*FindCodePage(1252));
    constexpr std::size_t kLimit = 4096;
    AnsiText word(encoder, kLimit);
    WordDocumentText(xml, &word);
    AnsiText open(encoder, kLimit);
    OpenDocumentText(xml, &open);
    if (word.text().size() > kLimit || open.text().size() > kLimit) std::abort();
    return 0;
}
