#include "document/rtf_reader.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kMaxGroupDepth = 4096;

struct GroupState {
    bool skipped = false;
    int fallbackCount = 1;  // \ucN: characters after \uN that stand in for it
};

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool SkippedDestination(std::string_view word) {
    // clang-format off
    static constexpr std::string_view kSkipped[] = {
        "fonttbl", "colortbl", "stylesheet", "info", "pict", "object", "nonshppict", "fldinst",
        "header", "headerl", "headerr", "headerf", "footer", "footerl", "footerr", "footerf",
        "footnote", "listtext", "pntext", "listtable", "listoverridetable", "revtbl", "rsidtbl",
        "xmlnstbl", "themedata", "colorschememapping", "datastore", "latentstyles", "generator",
        "filetbl", "bkmkstart", "bkmkend",
    };
    // clang-format on
    for (std::string_view skipped : kSkipped) {
        if (word == skipped) return true;
    }
    return false;
}

// Characters of the control words that stand for one.
char32_t SymbolOf(std::string_view word) {
    if (word == "emdash") return 0x2014;
    if (word == "endash") return 0x2013;
    if (word == "lquote") return 0x2018;
    if (word == "rquote") return 0x2019;
    if (word == "ldblquote") return 0x201C;
    if (word == "rdblquote") return 0x201D;
    if (word == "bullet") return 0x2022;
    if (word == "emspace" || word == "enspace" || word == "qmspace") return 0x20;
    return 0;
}

class RtfReader {
  public:
    RtfReader(std::string_view rtf, AnsiText* out) : rtf_(rtf), out_(out) {}

    RtfResult Run() {
        if (rtf_.compare(0, 5, "{\\rtf") != 0) return RtfResult::Unreadable;
        while (position_ < rtf_.size() && !out_->overLimit()) {
            const char c = rtf_[position_++];
            if (c == '{') {
                if (groups_.size() >= kMaxGroupDepth) return RtfResult::Unreadable;
                groups_.push_back(groups_.empty() ? GroupState() : groups_.back());
                fallbackLeft_ = 0;
                groupStart_ = true;
                continue;
            }
            if (c == '}') {
                if (groups_.empty()) return RtfResult::Unreadable;
                groups_.pop_back();
                fallbackLeft_ = 0;
                groupStart_ = false;
                // Whatever follows the document's outer group is not part of it.
                if (groups_.empty()) return Finish();
                continue;
            }
            if (groups_.empty()) return RtfResult::Unreadable;
            const bool atGroupStart = groupStart_;
            groupStart_ = false;
            if (c == '\\') {
                ControlWord(atGroupStart);
            } else if (c != '\r' && c != '\n') {
                DocumentByte(static_cast<unsigned char>(c));
            }
        }
        if (out_->overLimit()) return RtfResult::Ok;
        return RtfResult::Unreadable;  // the outer group was never closed
    }

  private:
    RtfResult Finish() { return RtfResult::Ok; }

    bool Skipping() const { return groups_.back().skipped; }

    // A fallback character after \uN is passed over instead of written.
    bool TakenByFallback() {
        if (fallbackLeft_ == 0) return false;
        --fallbackLeft_;
        return true;
    }

    void Text(char32_t character) {
        if (Skipping()) return;
        FlushParagraphs();
        out_->Character(character);
    }

    void FlushParagraphs() {
        for (; pendingParagraphs_ > 0; --pendingParagraphs_) out_->LineBreak();
    }

    void DocumentByte(unsigned char byte) {
        if (TakenByFallback() || Skipping()) return;
        FlushParagraphs();
        if (byte < 0x80) {
            out_->Byte(static_cast<char>(byte));
        } else if (const SingleByteCodePage* page = FindCodePage(codePage_)) {
            const char16_t character = page->upper[byte - 0x80];
            out_->Character(character != 0 ? character : U'?');
        } else if (codePage_ == out_->codePage()) {
            out_->Byte(static_cast<char>(byte));  // already in the output's code page
        } else {
            out_->Character(U'?');
        }
    }

    void ControlWord(bool atGroupStart) {
        if (position_ >= rtf_.size()) return;
        const char first = rtf_[position_];
        if (!IsLetter(first)) {
            ++position_;
            ControlSymbol(first, atGroupStart);
            return;
        }
        const std::size_t wordStart = position_;
        while (position_ < rtf_.size() && IsLetter(rtf_[position_]) && position_ - wordStart < 32)
            ++position_;
        const std::string_view word = rtf_.substr(wordStart, position_ - wordStart);
        bool hasNumber = false;
        bool negative = false;
        std::int64_t number = 0;
        if (position_ < rtf_.size() && rtf_[position_] == '-') {
            negative = true;
            ++position_;
        }
        const std::size_t digitsStart = position_;
        while (position_ < rtf_.size() && IsDigit(rtf_[position_]) &&
               position_ - digitsStart < 10) {
            number = number * 10 + (rtf_[position_] - '0');
            ++position_;
        }
        hasNumber = position_ > digitsStart;
        if (negative) number = -number;
        if (position_ < rtf_.size() && rtf_[position_] == ' ') ++position_;  // the delimiter
        Word(word, hasNumber, number, atGroupStart);
    }

    void ControlSymbol(char symbol, bool atGroupStart) {
        switch (symbol) {
            case '*':
                if (atGroupStart) groups_.back().skipped = true;
                return;
            case '\'': {
                if (rtf_.size() - position_ < 2) {
                    position_ = rtf_.size();
                    return;
                }
                const int high = HexValue(rtf_[position_]);
                const int low = HexValue(rtf_[position_ + 1]);
                position_ += 2;
                if (high >= 0 && low >= 0)
                    DocumentByte(static_cast<unsigned char>(high * 16 + low));
                return;
            }
            case '\\':
            case '{':
            case '}':
                DocumentByte(static_cast<unsigned char>(symbol));
                return;
            case '~':
                if (!TakenByFallback()) Text(0xA0);
                return;
            case '_':
                if (!TakenByFallback()) Text(U'-');
                return;
            case '\r':
            case '\n':
                if (!TakenByFallback()) Paragraph();
                return;
            default:
                TakenByFallback();  // \- and the other marks stand for no character
                return;
        }
    }

    void Paragraph() {
        if (Skipping()) return;
        FlushParagraphs();
        ++pendingParagraphs_;
    }

    void Word(std::string_view word, bool hasNumber, std::int64_t number, bool atGroupStart) {
        if (word == "bin") {
            // Binary data of the given length follows.
            const std::size_t left = rtf_.size() - position_;
            const std::size_t length =
                number > 0 ? static_cast<std::size_t>(number) : std::size_t{0};
            position_ += length < left ? length : left;
            return;
        }
        if (word == "ansicpg" && hasNumber) {
            codePage_ = static_cast<int>(number);
            return;
        }
        if (word == "uc" && hasNumber) {
            groups_.back().fallbackCount =
                number >= 0 && number < 16 ? static_cast<int>(number) : 1;
            return;
        }
        if (atGroupStart && SkippedDestination(word)) {
            groups_.back().skipped = true;
            return;
        }
        if (word == "u" && hasNumber) {
            UnicodeCharacter(number < 0 ? number + 65536 : number);
            fallbackLeft_ = groups_.back().fallbackCount;
            return;
        }
        if (TakenByFallback()) return;
        if (word == "par" || word == "cell" || word == "nestcell") {
            Paragraph();
        } else if (word == "line") {
            if (!Skipping()) {
                FlushParagraphs();
                out_->LineBreak();
            }
        } else if (word == "tab") {
            Text(U'\t');
        } else if (word == "chftn" && !Skipping()) {
            // The number of a note's mark, counted through the document.
            for (char digit : std::to_string(++notes_)) Text(static_cast<char32_t>(digit));
        } else if (const char32_t symbol = SymbolOf(word)) {
            Text(symbol);
        }
    }

    void UnicodeCharacter(std::int64_t value) {
        if (value >= 0xD800 && value <= 0xDBFF) {
            highSurrogate_ = static_cast<char32_t>(value);
            return;
        }
        char32_t character = static_cast<char32_t>(value);
        if (value >= 0xDC00 && value <= 0xDFFF) {
            character = highSurrogate_ != 0
                            ? 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (character - 0xDC00)
                            : 0xFFFD;
        } else if (value < 0 || value > 0xFFFF) {
            character = 0xFFFD;
        }
        highSurrogate_ = 0;
        Text(character);
    }

    std::string_view rtf_;
    AnsiText* out_;
    std::size_t position_ = 0;
    std::vector<GroupState> groups_;
    bool groupStart_ = false;
    int fallbackLeft_ = 0;
    int codePage_ = 1252;
    int pendingParagraphs_ = 0;  // paragraphs ended and not yet followed by text
    char32_t highSurrogate_ = 0;
    int notes_ = 0;
};

}  // namespace

RtfResult RtfDocumentText(std::string_view rtf, AnsiText* out) {
    RtfReader reader(rtf, out);
    return reader.Run();
}
