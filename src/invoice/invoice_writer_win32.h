// The invoice file writer: starts, overwrites or extends the CSV or TSV invoice file with one
// job record built from the column model in the settings store. Shows no messages.
#pragma once

#include <cstddef>

// Writes one record to the file at `path`. A file that does not exist yet, or any file when
// `overwrite` is set, gets the title line (when `showTitle`), the header line and the record:
// they are written to a new file in the same folder, which then replaces the old one in one
// rename. An existing file without `overwrite` gets the record only, at its end. Returns true
// when every line was written completely. On false nothing has changed: a new file that could
// not be finished is removed, an old file to overwrite (read-only, or held open by a program
// that does not let others delete it) keeps its bytes, and an append that fails part-way is
// cut back to the file's earlier size. A read-only file is never written.
bool InvoiceWriter(const char* path, bool tabbed, bool overwrite, bool showTitle);

// Opens or creates the file (others may read it meanwhile, not write it), writes the bytes at
// its end in one write and closes it. Returns true when every byte was written; false, having
// left the file as it was, when it cannot be opened, is read-only or the write falls short.
bool AppendBytesToFile(const char* path, const char* bytes, std::size_t length);

// As AppendBytesToFile, but when the file is not empty and its last byte is not a line end,
// "\r\n" is written before the bytes (in the same open and the same write), so a file saved
// without a final line break does not get the new line glued onto its last one.
bool AppendLineToFile(const char* path, const char* bytes, std::size_t length);
