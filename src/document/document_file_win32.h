// Reading a document file in the program: the file read whole (up to the size limit), its
// counted text in the system's ANSI code page.
#pragma once

#include <memory>
#include <string>

#include "document/code_pages.h"

// The encoder of the system's ANSI code page: a built-in table when there is one, else the
// system's own conversion.
std::unique_ptr<AnsiEncoder> SystemAnsiEncoder();

// The counted text of the file at `path`. False, with the reason in words, when it cannot be
// read or is no readable document.
bool ReadDocumentFile(const std::string& path, const AnsiEncoder& encoder, std::string* text,
                      std::string* reason);
