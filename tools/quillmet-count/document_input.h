// Documents in quillmet-count: a named file whose content (or name) makes it a .docx, .odt or
// .rtf document is counted as its text, and --text prints what is counted.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "count_report.h"
#include "document/code_pages.h"

// The encoder for --codepage as typed (empty: the default code page). Null, with a one-line
// explanation in `error`, for a value that is no code page the tool knows.
std::unique_ptr<AnsiEncoder> MakeCountEncoder(const std::string& codePage, std::string* error);

enum class DocumentCount {
    NotDocument,  // a plain file: count its bytes as before
    Counted,
    Failed,  // `error` says why
};

// Counts the file at `path` when it is a document.
DocumentCount CountDocumentFile(const std::string& path, int width, const AnsiEncoder& encoder,
                                CountRow* row, std::string* error);

// --text: writes the counted text of each file (standard input for none, or for "-") to
// standard output, one after the other. Returns the exit status: 0, or 1 when a file could
// not be read (with a message on standard error) or the output could not be written.
int PrintCountedTexts(const std::vector<std::string>& files, const AnsiEncoder& encoder);

// Platform parts: the system's ANSI code page (1252 where there is none), the system's own
// encoder for a code page without a built-in table (null where there is none), and standard
// output written as bytes.
int SystemAnsiCodePage();
std::unique_ptr<AnsiEncoder> MakeSystemEncoder(int codePage);
void SetStdoutBinary();
