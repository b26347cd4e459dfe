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
    SkippedElement skipped;
    int openParagraphs = 0;
    // A run of white space in the XML is one space, and none at the start of a paragraph.
    bool afterSpace = true;
    std::string collapsed;
    for (;;) {
        const XmlToken token = tokenizer.Next();
        if (token.kind == XmlTokenKind::Error) return false;
        if (token.kind == XmlTokenKind::End || out->overLimit()) return true;
        if (skipped.Covers(token)) continue;
        const std::string_view name = token.name;
        const bool paragraph = name == "text:p" || name == "text:h";
        switch (token.kind) {
            case XmlTokenKind::StartTag:
            case XmlTokenKind::EmptyTag:
                if (SkippedOpenDocumentElement(name)) {
                    skipped.Begin(token);
                } else if (paragraph) {
                    out->StartParagraph();
                    if (token.kind == XmlTokenKind::StartTag) ++openParagraphs;
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
            case XmlTokenKind::EndTag:
                if (paragraph && openParagraphs > 0) --openParagraphs;
                break;
            case XmlTokenKind::Text:
            case XmlTokenKind::CData:
                if (openParagraphs == 0) break;
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
            default:
                break;
        }
    }
}
