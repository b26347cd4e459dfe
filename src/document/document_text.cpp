#include "document/document_text.h"

#include "document/office_text.h"
#include "document/rtf_reader.h"
#include "document/zip_reader.h"

namespace {

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size()) return false;
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        char c = text[text.size() - suffix.size() + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != suffix[i]) return false;
    }
    return true;
}

DocumentError ZipError(ZipResult result) {
    switch (result) {
        case ZipResult::Ok:
            return DocumentError::None;
        case ZipResult::NotZip:
            return DocumentError::NotZip;
        case ZipResult::Missing:
            return DocumentError::NoDocumentPart;
        case ZipResult::TooLarge:
            return DocumentError::TooLarge;
        case ZipResult::Damaged:
            break;
    }
    return DocumentError::Damaged;
}

void ReadZipDocument(std::string_view content, const AnsiEncoder& encoder, DocumentText* result) {
    ZipArchive archive;
    const ZipResult opened =
        archive.Open(reinterpret_cast<const unsigned char*>(content.data()), content.size());
    if (opened != ZipResult::Ok) {
        result->error = ZipError(opened);
        return;
    }
    const ZipEntry* part = archive.Find("word/document.xml");
    result->format = DocumentFormat::WordDocument;
    if (part == nullptr) {
        part = archive.Find("content.xml");
        result->format = DocumentFormat::OpenDocument;
    }
    if (part == nullptr) {
        result->error = DocumentError::NoDocumentPart;
        return;
    }
    std::string xml;
    const ZipResult extracted = archive.Extract(*part, kMaxDocumentBytes, &xml);
    if (extracted != ZipResult::Ok) {
        result->error = ZipError(extracted);
        return;
    }
    AnsiText text(encoder, kMaxDocumentBytes);
    const bool wellFormed = result->format == DocumentFormat::WordDocument
                                ? WordDocumentText(xml, &text)
                                : OpenDocumentText(xml, &text);
    if (text.overLimit()) {
        result->error = DocumentError::TooLarge;
    } else if (!wellFormed) {
        result->error = DocumentError::DamagedText;
    } else {
        result->text.swap(text.mutableText());
    }
}

}  // namespace

DocumentFormat SniffDocumentFormat(std::string_view content) {
    if (content.compare(0, 4, "PK\x03\x04") == 0 || content.compare(0, 4, "PK\x05\x06") == 0)
        return DocumentFormat::WordDocument;  // which one depends on the part inside
    if (content.compare(0, 5, "{\\rtf") == 0) return DocumentFormat::Rtf;
    return DocumentFormat::PlainText;
}

bool NamesDocumentFormat(std::string_view fileName) {
    return EndsWithIgnoringCase(fileName, ".docx") || EndsWithIgnoringCase(fileName, ".odt") ||
           EndsWithIgnoringCase(fileName, ".rtf");
}

DocumentText ReadDocumentText(std::string_view content, std::string_view fileName,
                              const AnsiEncoder& encoder) {
    DocumentText result;
    result.format = SniffDocumentFormat(content);
    if (result.format == DocumentFormat::PlainText) {
        if (EndsWithIgnoringCase(fileName, ".rtf")) {
            result.error = DocumentError::UnreadableRtf;
        } else if (NamesDocumentFormat(fileName)) {
            result.error = DocumentError::NotZip;
        } else if (content.size() > kMaxDocumentBytes) {
            result.error = DocumentError::TooLarge;
        } else {
            result.text.assign(content.data(), content.size());
        }
        return result;
    }
    if (result.format == DocumentFormat::Rtf) {
        AnsiText text(encoder, kMaxDocumentBytes);
        const RtfResult read = RtfDocumentText(content, &text);
        if (text.overLimit()) {
            result.error = DocumentError::TooLarge;
        } else if (read != RtfResult::Ok) {
            result.error = DocumentError::UnreadableRtf;
        } else {
            result.text.swap(text.mutableText());
        }
        return result;
    }
    ReadZipDocument(content, encoder, &result);
    return result;
}

const char* DocumentErrorReason(DocumentError error) {
    switch (error) {
        case DocumentError::None:
            return "it was read";
        case DocumentError::NotZip:
            return "it is not a zip file, or the zip file is cut short";
        case DocumentError::NoDocumentPart:
            return "it holds no document part (word/document.xml or content.xml)";
        case DocumentError::Damaged:
            return "its compressed data is damaged";
        case DocumentError::TooLarge:
            return "it is over the size limit of 256 MiB of text";
        case DocumentError::UnreadableRtf:
            return "it is not readable RTF";
        case DocumentError::DamagedText:
            return "its text is damaged (the document part is not well-formed XML)";
    }
    return "it cannot be read";
}
