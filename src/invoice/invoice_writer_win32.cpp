#include "invoice/invoice_writer_win32.h"

#include <windows.h>

#include <string>

#include "base/file_handle_win32.h"
#include "base/paths.h"
#include "invoice/invoice_fields.h"
#include "invoice/invoice_model_win32.h"

namespace {

constexpr unsigned long long kMaxSingleWrite = MAXDWORD;

// Writes `total` bytes at the end of the file, which held `oldSize` bytes. A failed or short
// write cuts the file back to `oldSize`, so that a retry never leaves half a record behind.
bool WriteAtEnd(HANDLE file, const char* data, std::size_t total, ULONGLONG oldSize) {
    // One WriteFile takes at most 4 GiB - 1 bytes; a record never comes near that.
    if (total > kMaxSingleWrite) return false;
    if (WriteExactly(file, data, static_cast<DWORD>(total))) return true;
    if (SeekFile(file, static_cast<LONGLONG>(oldSize), FILE_BEGIN)) SetEndOfFile(file);
    return false;
}

bool AppendToFile(const char* path, const char* bytes, std::size_t length, bool onNewLine) {
    if (path == nullptr || (bytes == nullptr && length != 0)) return false;
    FileHandle file(CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    // A read-only file is never extended, even where the system would let this user open it
    // for writing (an administrator under some systems).
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file.Get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return false;
    }

    // Every move is checked: nothing is ever written anywhere but at the end of the file.
    ULONGLONG size = 0;
    if (!SeekFile(file.Get(), 0, FILE_END, &size)) return false;
    std::string lineBreak;
    if (onNewLine && size > 0) {
        char last = 0;
        if (!SeekFile(file.Get(), -1, FILE_END) || !ReadExactly(file.Get(), &last, 1)) return false;
        if (!EndsInvoiceLine(last)) lineBreak = "\r\n";
        if (!SeekFile(file.Get(), 0, FILE_END)) return false;
    }

    if (lineBreak.empty()) return WriteAtEnd(file.Get(), bytes, length, size);
    const std::string joined = lineBreak + std::string(bytes, length);
    return WriteAtEnd(file.Get(), joined.data(), joined.size(), size);
}

// Writes `bytes` as the whole content of `path`: first into a new file beside it, which then
// takes the place of the old file (if any) in one rename. Whatever fails, the new file is
// removed and the old one is left byte for byte as it was.
bool WriteWholeFile(const char* path, const std::string& bytes) {
    char full[kPathSize];
    char* name = nullptr;
    const DWORD length = GetFullPathNameA(path, sizeof full, full, &name);
    if (length == 0 || length >= sizeof full || name == nullptr || name == full) return false;
    const std::string folder(full, name);
    char temporary[MAX_PATH];
    if (GetTempFileNameA(folder.c_str(), "qmi", 0, temporary) == 0) return false;

    FileHandle file(CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    const bool written = file.Valid() && WriteAtEnd(file.Get(), bytes.data(), bytes.size(), 0) &&
                         FlushFileBuffers(file.Get());
    file.Close();  // the rename needs the new file closed
    if (written &&
        MoveFileExA(temporary, full, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    DeleteFileA(temporary);
    return false;
}

}  // namespace

bool AppendBytesToFile(const char* path, const char* bytes, std::size_t length) {
    return AppendToFile(path, bytes, length, false);
}

bool AppendLineToFile(const char* path, const char* bytes, std::size_t length) {
    return AppendToFile(path, bytes, length, true);
}

bool InvoiceWriter(const char* path, bool tabbed, bool overwrite, bool showTitle) {
    if (path == nullptr) path = "";
    const DWORD attributes = GetFileAttributesA(path);
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;

    char title[kSettingsTextSize];
    char names[kInvoiceDataColumnCount][kSettingsTextSize];
    char values[kInvoiceDataColumnCount][kSettingsTextSize];
    InvoiceColumn columns[kInvoiceDataColumnCount];
    ReadInvoiceColumnName(kInvoiceTitle, title);
    for (int i = 0; i < kInvoiceDataColumnCount; ++i) {
        const int field = InvoiceFieldAtPosition(kFirstDataPosition + i);
        ReadInvoiceColumnName(field, names[i]);
        ReadInvoiceValue(field, values[i]);
        columns[i].name = names[i];
        columns[i].value = values[i];
        columns[i].shown = IsInvoiceFieldShown(field);
    }
    const InvoiceLines lines = BuildInvoiceLines(title, showTitle, columns, tabbed);

    if (exists && !overwrite)
        return AppendLineToFile(path, lines.record.data(), lines.record.size());
    // A read-only file or a folder is never replaced.
    if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        return false;
    }
    return WriteWholeFile(path, lines.title + lines.header + lines.record);
}
