#include "document/office_text.h"

#include <cstdint>
#include <string>

#include "document/xml_tokenizer.h"

namespace {

bool SkippedOpenDocumentElement(std::string_view name) {
    return name == "text:tracked-changes" || name == "office:annotation" ||
           name == "text:note-body" || name == "text:ruby-text";
}

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The number in text:c, at least 1; `limit` + 1 for numbers beyond the limit.
std::uint64_t SpaceCount(std::string_view attributes, std::uint64_t limit) {
    std::string_view value;
    if (!FindXmlAttribute(attributes, "text:c", &value) || value.empty()) return 1;
    std::uint64_t count = 0;
    for (char c : value) {
        if (c < '0' || c > '9') return 1;
        count = count * 10 + static_cast<std::uint64_t>(c - '0');
        if (count > limit) return limit + 1;
    }
    return count == 0 ? 1 : count;
}

}  // namespace

bool OpenDocumentText(std::string_view xml, AnsiText* out) {
    XmlTokenizer tokenizer(xml);
    bool skipping = false;
    std::size_t skipDepth = 0;
    int openParagraphs = 0;
    // A run of white space in the XML is one space, and none at the start of a paragraph.
    bool afterSpace = true;
    std::string collapsed;
    for (;;) {
        const XmlToken token = tokenizer.Next();
        switch (token.kind) {
            case XmlTokenKind::Error:
                return false;
            case XmlTokenKind::End:
                return true;
            case XmlTokenKind::StartTag:
            case XmlTokenKind::EmptyTag: {
                if (skipping) break;
                const bool start = token.kind == XmlTokenKind::StartTag;
                const std::string_view name = token.name;
                if (SkippedOpenDocumentElement(name)) {
                    if (start) skipping = true, skipDepth = token.depth;
                } else if (name == "text:p" || name == "text:h") {
                    out->StartParagraph();
                    if (start) ++openParagraphs;
                    afterSpace = true;
                } else if (openParagraphs == 0) {
                    break;
                } else if (name == "text:s") {
                    out->Repeat(' ', SpaceCount(token.attributes, 0xFFFFFFFFu));
                    afterSpace = false;
                } else if (name == "text:tab") {
                    out->Byte('\t');
                    afterSpace = false;
                } else if (name == "text:line-break") {
                    out->LineBreak();
                    afterSpace = false;
                }
                break;
            }
            case XmlTokenKind::EndTag:
                if (skipping) {
                    if (token.depth == skipDepth) skipping = false;
                } else if ((token.name == "text:p" || token.name == "text:h") &&
                           openParagraphs > 0) {
                    --openParagraphs;
                }
                break;
            case XmlTokenKind::Text:
            case XmlTokenKind::CData: {
                if (skipping || openParagraphs == 0) break;
                collapsed.clear();
                for (char c : token.text) {
                    if (!IsXmlSpace(c)) {
                        collapsed.push_back(c);
                        afterSpace = false;
                    } else if (!afterSpace) {
                        collapsed.push_back(' ');
                        afterSpace = true;
                    }
                }
                if (token.kind == XmlTokenKind::CData) {
                    out->Utf8(collapsed.data(), collapsed.size());
                } else if (!AppendXmlText(collapsed, out)) {
                    return false;
                }
                break;
            }
        }
        if (out->overLimit()) return true;
    }
}
