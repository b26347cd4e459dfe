#include "document/office_text.h"

#include <string>

#include "document/xml_tokenizer.h"

namespace {

// Elements whose content is not part of the copied text.
bool SkippedWordElement(std::string_view name) {
    return name == "w:del" || name == "w:moveFrom" || name == "mc:Fallback" ||
           name == "w:instrText" || name == "w:delInstrText";
}

}  // namespace

bool WordDocumentText(std::string_view xml, AnsiText* out) {
    XmlTokenizer tokenizer(xml);
    SkippedElement skipped;
    bool inText = false;
    int openRuns = 0;  // a tab or break counts only inside a run, not among tab stops
    int footnotes = 0;
    for (;;) {
        const XmlToken token = tokenizer.Next();
        if (token.kind == XmlTokenKind::Error) return false;
        if (token.kind == XmlTokenKind::End || out->overLimit()) return true;
        if (skipped.Covers(token)) continue;
        const std::string_view name = token.name;
        switch (token.kind) {
            case XmlTokenKind::StartTag:
            case XmlTokenKind::EmptyTag: {
                const bool start = token.kind == XmlTokenKind::StartTag;
                if (SkippedWordElement(name)) {
                    skipped.Begin(token);
                } else if (name == "w:p") {
                    out->StartParagraph();
                } else if (name == "w:t") {
                    inText = start;
                } else if (name == "w:r") {
                    if (start) ++openRuns;
                } else if (openRuns > 0 && (name == "w:tab" || name == "w:ptab")) {
                    out->Byte('\t');
                } else if (openRuns > 0 && (name == "w:br" || name == "w:cr")) {
                    out->LineBreak();
                } else if (name == "w:footnoteReference") {
                    // The mark is the note's number, unless a mark of its own follows.
                    ++footnotes;
                    std::string_view custom;
                    if (!FindXmlAttribute(token.attributes, "w:customMarkFollows", &custom) ||
                        (custom != "1" && custom != "true" && custom != "on")) {
                        for (char digit : std::to_string(footnotes)) out->Byte(digit);
                    }
                }
                break;
            }
            case XmlTokenKind::EndTag:
                if (name == "w:t") inText = false;
                if (name == "w:r" && openRuns > 0) --openRuns;
                break;
            case XmlTokenKind::Text:
                if (inText && !AppendXmlText(token.text, out)) return false;
                break;
            case XmlTokenKind::CData:
                if (inText) out->Utf8(token.text.data(), token.text.size());
                break;
            default:
                break;
        }
    }
}
