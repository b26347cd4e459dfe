// A small XML tokenizer for the text parts of word-processor documents: start, end and empty
// tags with their names and raw attributes, and character data. Comments, processing
// instructions and the document type are passed over. It checks only what reading text
// needs: that every construct is closed and that end tags match their start tags.
// Platform-free; the tokens point into the document, which must outlive them.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "document/code_pages.h"

enum class XmlTokenKind { StartTag, EndTag, EmptyTag, Text, CData, End, Error };

struct XmlToken {
    XmlTokenKind kind = XmlTokenKind::End;
    std::string_view name;        // qualified name of a tag ("w:p")
    std::string_view attributes;  // the raw text between the name and ">" or "/>"
    std::string_view text;        // raw character data (entities not yet replaced)
    std::size_t depth = 0;        // elements open around the token (a start tag's own excluded)
};

class XmlTokenizer {
  public:
    explicit XmlTokenizer(std::string_view document) : document_(document) {}

    // The next token; End after the last one, Error (and from then on) for malformed XML.
    XmlToken Next();

  private:
    XmlToken Fail();

    std::string_view document_;
    std::size_t position_ = 0;
    std::vector<std::string_view> open_;
    bool failed_ = false;
};

// An element passed over with all it holds, from its start tag to its end tag.
class SkippedElement {
  public:
    // Passes over the element that `token` starts (nothing for an empty tag: it holds nothing).
    void Begin(const XmlToken& token) {
        if (token.kind != XmlTokenKind::StartTag) return;
        active_ = true;
        depth_ = token.depth;
    }
    // Whether `token` lies in the element passed over (its end tag included).
    bool Covers(const XmlToken& token) {
        if (!active_) return false;
        if (token.kind == XmlTokenKind::EndTag && token.depth == depth_) active_ = false;
        return true;
    }

  private:
    bool active_ = false;
    std::size_t depth_ = 0;
};

// The raw value of attribute `name` in a tag's attribute text; false when it has none.
bool FindXmlAttribute(std::string_view attributes, std::string_view name, std::string_view* value);

// Appends character data (UTF-8 with entity and character references) to `out`; false for a
// reference that is not one.
bool AppendXmlText(std::string_view raw, AnsiText* out);
