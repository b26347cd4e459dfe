#include "document_input.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "binary_stdin.h"
#include "counting/text_counting.h"
#include "document/document_text.h"

namespace {

constexpr const char* kProgramName = "quillmet-count";
constexpr std::size_t kReadChunk = 1024 * 1024;

// Reads all of `stream`, but at most `limit` + 1 bytes, so that a longer file is known to be
// over the limit without being held whole. False with errno in `errorNumber` on a read error.
bool ReadUpTo(std::FILE* stream, std::size_t limit, std::string* content, int* errorNumber) {
    content->clear();
    std::vector<char> chunk(kReadChunk);
    while (content->size() <= limit) {
        errno = 0;
        const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), stream);
        content->append(chunk.data(), got);
        if (got < chunk.size()) break;
    }
    if (std::ferror(stream)) {
        *errorNumber = errno != 0 ? errno : EIO;
        return false;
    }
    return true;
}

// The first bytes tell a document; a name may also promise one.
bool LooksLikeDocument(std::FILE* file, const std::string& path) {
    char head[8] = {};
    const std::size_t got = std::fread(head, 1, sizeof head, file);
    std::rewind(file);
    return SniffDocumentFormat(std::string_view(head, got)) != DocumentFormat::PlainText ||
           NamesDocumentFormat(path);
}

enum class ReadOutcome { Plain, Document, Failed };

// Reads the file at `path`: its counted text when it is a document (or, with `plainToo`, its
// bytes when it is not).
ReadOutcome ReadInputText(const std::string& path, const AnsiEncoder& encoder, bool plainToo,
                          std::string* text, std::string* error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        *error = std::strerror(errno);
        return ReadOutcome::Failed;
    }
    const bool document = LooksLikeDocument(file, path);
    if (!document && !plainToo) {
        std::fclose(file);
        return ReadOutcome::Plain;
    }
    std::string content;
    int errorNumber = 0;
    const bool read = ReadUpTo(file, kMaxDocumentBytes, &content, &errorNumber);
    std::fclose(file);
    if (!read) {
        *error = std::strerror(errorNumber);
        return ReadOutcome::Failed;
    }
    if (!document) {
        if (content.size() > kMaxDocumentBytes) {
            *error = DocumentErrorReason(DocumentError::TooLarge);
            return ReadOutcome::Failed;
        }
        text->swap(content);
        return ReadOutcome::Plain;
    }
    // A document file over the limit is refused whatever it holds.
    DocumentText result = content.size() > kMaxDocumentBytes
                              ? DocumentText{DocumentFormat::PlainText, DocumentError::TooLarge, {}}
                              : ReadDocumentText(content, path, encoder);
    if (result.error != DocumentError::None) {
        *error = DocumentErrorReason(result.error);
        return ReadOutcome::Failed;
    }
    text->swap(result.text);
    return ReadOutcome::Document;
}

void ReportError(const std::string& name, const std::string& reason) {
    std::fprintf(stderr, "%s: %s: %s\n", kProgramName, name.c_str(), reason.c_str());
}

}  // namespace

std::unique_ptr<AnsiEncoder> MakeCountEncoder(const std::string& codePage, std::string* error) {
    int number = SystemAnsiCodePage();
    if (!codePage.empty()) {
        number = 0;
        for (char c : codePage) {
            if (c < '0' || c > '9' || number > 99999) {
                number = -1;
                break;
            }
            number = number * 10 + (c - '0');
        }
    }
    if (const SingleByteCodePage* page = FindCodePage(number)) {
        return std::make_unique<SingleByteEncoder>(*page);
    }
    if (number > 0) {
        if (std::unique_ptr<AnsiEncoder> system = MakeSystemEncoder(number)) return system;
    }
    std::string known;
    for (int i = 0; i < kSingleByteCodePageCount; ++i) {
        known += (i == 0 ? "" : ", ") + std::to_string(kSingleByteCodePages[i].number);
    }
    *error = (codePage.empty() ? "the system's code page " + std::to_string(number)
                               : "code page '" + codePage + "'") +
             " is not one this system writes (built in: " + known + "); give --codepage";
    return nullptr;
}

DocumentCount CountDocumentFile(const std::string& path, int width, const AnsiEncoder& encoder,
                                CountRow* row, std::string* error) {
    std::string text;
    switch (ReadInputText(path, encoder, false, &text, error)) {
        case ReadOutcome::Plain:
            return DocumentCount::NotDocument;
        case ReadOutcome::Failed:
            return DocumentCount::Failed;
        case ReadOutcome::Document:
            break;
    }
    TextCountState state = StartTextCount(width);
    CountTextChunk(&state, text.data(), text.size());
    row->characters = state.characters;
    row->words = state.words;
    row->lines = state.lines;
    return DocumentCount::Counted;
}

int PrintCountedTexts(const std::vector<std::string>& files, const AnsiEncoder& encoder) {
    SetStdoutBinary();
    std::vector<std::string> names = files;
    if (names.empty()) names.push_back("-");
    int status = 0;
    for (const std::string& name : names) {
        std::string text;
        std::string error;
        if (name == "-") {
            SetStdinBinary();
            int errorNumber = 0;
            if (!ReadUpTo(stdin, static_cast<std::size_t>(-2), &text, &errorNumber)) {
                ReportError("standard input", std::strerror(errorNumber));
                status = 1;
                continue;
            }
        } else if (ReadInputText(name, encoder, true, &text, &error) == ReadOutcome::Failed) {
            ReportError(name, error);
            status = 1;
            continue;
        }
        std::fwrite(text.data(), 1, text.size(), stdout);
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "%s: cannot write the output: %s\n", kProgramName,
                     std::strerror(errno));
        return 1;
    }
    return status;
}
