// The invoice file writer: starts, overwrites or extends the CSV or TSV invoice file with one
// job record built from the column model in the settings store. Shows no messages.
#pragma once

#include <cstddef>

// Writes one record to the file at `path`. A file that does not exist yet, or any file when
// `overwrite` is set (it is deleted first), gets the title line (when `showTitle`), the header
// line and the record; an existing file without `overwrite` gets the record only, at its end.
// Returns true when the record line was written completely. Each line is written by its own
// open, extend and close of the file. A file to overwrite that cannot be deleted is left
// untouched (false), and a read-only file is never written.
bool InvoiceWriter(const char* path, bool tabbed, bool overwrite, bool showTitle);

// Opens or creates the file (others may read it meanwhile, not write it), writes the bytes at
// its end in one write and closes it. Returns true when every byte was written; false, having
// written nothing, when the file cannot be opened or is read-only.
bool AppendBytesToFile(const char* path, const char* bytes, std::size_t length);

// As AppendBytesToFile, but when the file is not empty and its last byte is not a line end,
// "\r\n" is written before the bytes (in the same open and the same write), so a file saved
// without a final line break does not get the new line glued onto its last one.
bool AppendLineToFile(const char* path, const char* bytes, std::size_t length);
