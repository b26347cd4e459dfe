// The ANSI code pages a document's text is written in: characters to bytes, and the bytes of an
// RTF document's own code page back to characters. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A Windows single-byte code page: bytes 0x00-0x7F are ASCII, `upper` gives the character of
// each byte 0x80-0xFF (0: the byte stands for none).
struct SingleByteCodePage {
    int number;
    char16_t upper[128];
};
extern const SingleByteCodePage kSingleByteCodePages[];
extern const int kSingleByteCodePageCount;

// The built-in code page `number` (874, 1250-1258), or null.
const SingleByteCodePage* FindCodePage(int number);

// Writes characters in an ANSI code page. A character the code page cannot write becomes "?".
class AnsiEncoder {
  public:
    virtual ~AnsiEncoder() = default;
    virtual int CodePage() const = 0;
    // Appends `character` (a Unicode scalar value) as the code page writes it.
    virtual void Append(char32_t character, std::string* out) const = 0;
};

// The encoder of a built-in single-byte code page: only the characters the page holds, with no
// look-alike substitutes, so "a" with macron becomes "?" and not "a".
class SingleByteEncoder : public AnsiEncoder {
  public:
    explicit SingleByteEncoder(const SingleByteCodePage& page);
    int CodePage() const override { return number_; }
    void Append(char32_t character, std::string* out) const override;

  private:
    struct Entry {
        char16_t character;
        unsigned char byte;
    };
    int number_;
    Entry sorted_[128];  // the upper half's characters in rising order, then unused entries
    int count_ = 0;
};

// The counted text of a document as it grows: characters go through the encoder, and the
// whole stays within a byte limit (the text is then marked as over it, and stops growing).
class AnsiText {
  public:
    AnsiText(const AnsiEncoder& encoder, std::size_t limit) : encoder_(encoder), limit_(limit) {}

    void Character(char32_t character);
    // An ASCII byte or, through a document's own code page, a byte that is already in the
    // output's code page.
    void Byte(char byte);
    void Repeat(char byte, std::uint64_t count);
    void LineBreak();  // CR LF
    // A paragraph begins: every one but the first is preceded by CR LF, so the last paragraph
    // has no line break.
    void StartParagraph() {
        if (paragraphs_++ > 0) LineBreak();
    }
    // UTF-8 text; a byte sequence that is no UTF-8 becomes one U+FFFD per byte.
    void Utf8(const char* data, std::size_t size);

    bool overLimit() const { return overLimit_; }
    const std::string& text() const { return text_; }
    std::string& mutableText() { return text_; }
    int codePage() const { return encoder_.CodePage(); }

  private:
    bool Room(std::size_t bytes);

    const AnsiEncoder& encoder_;
    std::size_t limit_;
    bool overLimit_ = false;
    std::size_t paragraphs_ = 0;
    std::string text_;
};
