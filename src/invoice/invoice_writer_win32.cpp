#include "invoice/invoice_writer_win32.h"

#include <windows.h>

#include <string>

#include "invoice/invoice_fields.h"
#include "invoice/invoice_model_win32.h"
#include "settings/file_handle_win32.h"

namespace {

constexpr unsigned long long kMaxSingleWrite = MAXDWORD;

// Moves the file pointer `distance` bytes from the end. Returns false when that fails, so that
// nothing is ever written anywhere but at the end of the file.
bool SeekFromEnd(HANDLE file, LONGLONG distance, ULONGLONG* position) {
    LONG high = static_cast<LONG>(distance >> 32);
    SetLastError(NO_ERROR);
    DWORD low = SetFilePointer(file, static_cast<LONG>(distance & 0xFFFFFFFF), &high, FILE_END);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return false;
    if (position != nullptr) {
        *position = (static_cast<ULONGLONG>(static_cast<DWORD>(high)) << 32) | low;
    }
    return true;
}

bool AppendToFile(const char* path, const char* bytes, std::size_t length, bool onNewLine) {
    if (path == nullptr || (bytes == nullptr && length != 0)) return false;
    FileHandle file(CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    // A read-only file is never extended, even where the system would let this user open it
    // for writing (an administrator under some systems).
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file.get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return false;
    }

    std::string lineBreak;
    if (onNewLine) {
        ULONGLONG size = 0;
        if (!SeekFromEnd(file.get(), 0, &size)) return false;
        if (size > 0) {
            char last = 0;
            DWORD read = 0;
            if (!SeekFromEnd(file.get(), -1, nullptr)) return false;
            if (!ReadFile(file.get(), &last, 1, &read, nullptr) || read != 1) return false;
            if (!EndsInvoiceLine(last)) lineBreak = "\r\n";
        }
    }
    if (!SeekFromEnd(file.get(), 0, nullptr)) return false;

    const char* data = bytes;
    std::size_t total = length;
    std::string joined;
    if (!lineBreak.empty()) {
        joined = lineBreak;
        joined.append(bytes, length);
        data = joined.data();
        total = joined.size();
    }
    // One WriteFile takes at most 4 GiB - 1 bytes; a record never comes near that.
    if (total > kMaxSingleWrite) return false;
    DWORD written = 0;
    if (!WriteFile(file.get(), data, static_cast<DWORD>(total), &written, nullptr)) return false;
    return written == total;
}

bool AppendLine(const char* path, const std::string& line) {
    return AppendLineToFile(path, line.data(), line.size());
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
    const bool exists = GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;

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

    const bool startFile = !exists || overwrite;
    if (exists && overwrite) {
        // A file that could not be deleted (read-only, or open in a program that does not let
        // others delete it) is left as it was: writing a title and header after its old lines
        // and reporting success would hand the user a corrupted invoice.
        if (!DeleteFileA(path) && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) {
            return false;
        }
    }
    // Only the record decides the result: a title or header that could not be written leaves
    // the record to fail the same way.
    if (startFile && showTitle) AppendLine(path, lines.title);
    if (startFile) AppendLine(path, lines.header);
    return AppendLine(path, lines.record);
}
