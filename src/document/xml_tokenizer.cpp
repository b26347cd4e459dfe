#include "document/xml_tokenizer.h"

#include <cstring>

namespace {

constexpr std::size_t kMaxDepth = 4096;  // deeper nesting is taken as damage

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameEnd(char c) { return IsSpace(c) || c == '>' || c == '/'; }

// Position just past `terminator` at or after `from`, or npos.
std::size_t After(std::string_view text, std::size_t from, std::string_view terminator) {
    const std::size_t found = text.find(terminator, from);
    return found == std::string_view::npos ? found : found + terminator.size();
}

bool StartsWith(std::string_view text, std::size_t at, std::string_view prefix) {
    return text.size() - at >= prefix.size() && text.compare(at, prefix.size(), prefix) == 0;
}

}  // namespace

XmlToken XmlTokenizer::Fail() {
    failed_ = true;
    XmlToken token;
    token.kind = XmlTokenKind::Error;
    return token;
}

XmlToken XmlTokenizer::Next() {
    for (;;) {
        if (failed_) return Fail();
        XmlToken token;
        token.depth = open_.size();
        if (position_ >= document_.size()) {
            if (!open_.empty()) return Fail();
            token.kind = XmlTokenKind::End;
            return token;
        }
        if (document_[position_] != '<') {
            std::size_t end = document_.find('<', position_);
            if (end == std::string_view::npos) end = document_.size();
            token.kind = XmlTokenKind::Text;
            token.text = document_.substr(position_, end - position_);
            position_ = end;
            return token;
        }
        // Comments, processing instructions and the document type hold no text.
        std::size_t skipTo = std::string_view::npos;
        if (StartsWith(document_, position_, "<!--")) {
            skipTo = After(document_, position_ + 4, "-->");
        } else if (StartsWith(document_, position_, "<![CDATA[")) {
            const std::size_t next = After(document_, position_ + 9, "]]>");
            if (next == std::string_view::npos) return Fail();
            token.kind = XmlTokenKind::CData;
            token.text = document_.substr(position_ + 9, next - 3 - (position_ + 9));
            position_ = next;
            return token;
        } else if (StartsWith(document_, position_, "<?")) {
            skipTo = After(document_, position_ + 2, "?>");
        } else if (StartsWith(document_, position_, "<!")) {
            // With an internal subset in brackets when it has one.
            const std::size_t bracket = document_.find('[', position_);
            const std::size_t close = document_.find('>', position_);
            if (bracket != std::string_view::npos && bracket < close) {
                skipTo = After(document_, bracket, "]>");
            } else if (close != std::string_view::npos) {
                skipTo = close + 1;
            }
        } else {
            skipTo = position_;
        }
        if (skipTo == std::string_view::npos) return Fail();
        if (skipTo != position_) {
            position_ = skipTo;
            continue;
        }

        // A tag.
        const bool endTag = StartsWith(document_, position_, "</");
        std::size_t nameStart = position_ + (endTag ? 2 : 1);
        std::size_t nameEnd = nameStart;
        while (nameEnd < document_.size() && !IsNameEnd(document_[nameEnd])) ++nameEnd;
        if (nameEnd == nameStart || nameEnd >= document_.size()) return Fail();
        // The tag ends at the first ">" outside quotes.
        std::size_t close = nameEnd;
        char quote = 0;
        for (; close < document_.size(); ++close) {
            const char c = document_[close];
            if (quote != 0) {
                if (c == quote) quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                break;
            } else if (c == '<') {
                return Fail();
            }
        }
        if (close >= document_.size()) return Fail();
        token.name = document_.substr(nameStart, nameEnd - nameStart);
        position_ = close + 1;
        if (endTag) {
            if (open_.empty() || open_.back() != token.name) return Fail();
            open_.pop_back();
            token.kind = XmlTokenKind::EndTag;
            token.depth = open_.size();
            return token;
        }
        const bool empty = document_[close - 1] == '/' && close - 1 >= nameEnd;
        token.attributes = document_.substr(nameEnd, (empty ? close - 1 : close) - nameEnd);
        if (empty) {
            token.kind = XmlTokenKind::EmptyTag;
            return token;
        }
        if (open_.size() >= kMaxDepth) return Fail();
        open_.push_back(token.name);
        token.kind = XmlTokenKind::StartTag;
        return token;
    }
}

bool FindXmlAttribute(std::string_view attributes, std::string_view name, std::string_view* value) {
    std::size_t i = 0;
    while (i < attributes.size()) {
        while (i < attributes.size() && IsSpace(attributes[i])) ++i;
        const std::size_t nameStart = i;
        while (i < attributes.size() && attributes[i] != '=' && !IsSpace(attributes[i])) ++i;
        const std::string_view found = attributes.substr(nameStart, i - nameStart);
        while (i < attributes.size() && IsSpace(attributes[i])) ++i;
        if (i >= attributes.size() || attributes[i] != '=') return false;
        ++i;
        while (i < attributes.size() && IsSpace(attributes[i])) ++i;
        if (i >= attributes.size()) return false;
        const char quote = attributes[i];
        if (quote != '"' && quote != '\'') return false;
        const std::size_t valueEnd = attributes.find(quote, i + 1);
        if (valueEnd == std::string_view::npos) return false;
        if (found == name) {
            *value = attributes.substr(i + 1, valueEnd - i - 1);
            return true;
        }
        i = valueEnd + 1;
    }
    return false;
}

bool AppendXmlText(std::string_view raw, AnsiText* out) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t amp = raw.find('&', start);
        if (amp == std::string_view::npos) {
            out->Utf8(raw.data() + start, raw.size() - start);
            return true;
        }
        out->Utf8(raw.data() + start, amp - start);
        const std::size_t semicolon = raw.find(';', amp);
        if (semicolon == std::string_view::npos || semicolon - amp > 12) return false;
        const std::string_view entity = raw.substr(amp + 1, semicolon - amp - 1);
        if (entity == "amp") {
            out->Byte('&');
        } else if (entity == "lt") {
            out->Byte('<');
        } else if (entity == "gt") {
            out->Byte('>');
        } else if (entity == "quot") {
            out->Byte('"');
        } else if (entity == "apos") {
            out->Byte('\'');
        } else if (entity.size() >= 2 && entity[0] == '#') {
            const bool hex = entity[1] == 'x';
            std::size_t i = hex ? 2 : 1;
            if (i >= entity.size()) return false;
            char32_t value = 0;
            for (; i < entity.size(); ++i) {
                const char c = entity[i];
                int digit = -1;
                if (c >= '0' && c <= '9') {
                    digit = c - '0';
                } else if (hex && c >= 'a' && c <= 'f') {
                    digit = c - 'a' + 10;
                } else if (hex && c >= 'A' && c <= 'F') {
                    digit = c - 'A' + 10;
                }
                if (digit < 0) return false;
                value = value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
                if (value > 0x10FFFF) return false;
            }
            if (value == 0 || (value >= 0xD800 && value <= 0xDFFF)) return false;
            out->Character(value);
        } else {
            return false;
        }
        start = semicolon + 1;
    }
}
