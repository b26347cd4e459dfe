// The counted text of a document file: a .docx, .odt or .rtf document's text as copying the
// whole document would put it on the clipboard as ANSI text, or a plain file's bytes. The
// format is chosen by the content. Platform-free.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "document/code_pages.h"

// At most this much text per file, and at most this much decompressed data per zip entry.
constexpr std::size_t kMaxDocumentBytes = std::size_t{256} * 1024 * 1024;

enum class DocumentFormat { PlainText, WordDocument, OpenDocument, Rtf };

enum class DocumentError {
    None,
    NotZip,          // named or marked as a zip document, but no readable zip file
    NoDocumentPart,  // a zip without word/document.xml or content.xml
    Damaged,         // damaged compressed data, or an entry outside the file
    TooLarge,        // over kMaxDocumentBytes
    UnreadableRtf,
    DamagedText,  // the text part is not well-formed XML
};

// The format the content shows: a zip signature, "{\rtf", or else plain text.
DocumentFormat SniffDocumentFormat(std::string_view content);

// Whether a file name's extension (case ignored) promises a document of another format than
// plain text: ".docx", ".odt" or ".rtf".
bool NamesDocumentFormat(std::string_view fileName);

struct DocumentText {
    DocumentFormat format = DocumentFormat::PlainText;
    DocumentError error = DocumentError::None;
    std::string text;  // the counted text, in the encoder's code page
};

// Reads the text of a file's `content`. A file whose name promises a document (".docx",
// ".odt", ".rtf") but whose content is plain text is refused as not a zip file or as
// unreadable RTF rather than counted as bytes.
DocumentText ReadDocumentText(std::string_view content, std::string_view fileName,
                              const AnsiEncoder& encoder);

// The reason in words, for a message: "it is not a zip file", ...
const char* DocumentErrorReason(DocumentError error);
