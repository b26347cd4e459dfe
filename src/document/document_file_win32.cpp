#include "document/document_file_win32.h"

#include <windows.h>

#include "base/file_handle_win32.h"
#include "document/document_text.h"
#include "document/system_encoder_win32.h"

namespace {

std::string SystemErrorText(DWORD error) {
    char text[260] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.'))
        message.pop_back();
    return message.empty() ? "system error " + std::to_string(error) : message;
}

}  // namespace

std::unique_ptr<AnsiEncoder> SystemAnsiEncoder() {
    const int codePage = static_cast<int>(GetACP());
    if (const SingleByteCodePage* page = FindCodePage(codePage)) {
        return std::make_unique<SingleByteEncoder>(*page);
    }
    return std::make_unique<SystemCodePageEncoder>(codePage);
}

bool ReadDocumentFile(const std::string& path, const AnsiEncoder& encoder, std::string* text,
                      std::string* reason) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        *reason = "it cannot be opened (" + SystemErrorText(GetLastError()) + ")";
        return false;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size)) {
        *reason = "it cannot be read (" + SystemErrorText(GetLastError()) + ")";
        return false;
    }
    if (static_cast<unsigned long long>(size.QuadPart) > kMaxDocumentBytes) {
        *reason = DocumentErrorReason(DocumentError::TooLarge);
        return false;
    }
    std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < content.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(
            content.size() - done < (1u << 20) ? content.size() - done : (1u << 20));
        if (!ReadFile(file.Get(), &content[done], want, &got, nullptr)) {
            *reason = "it cannot be read (" + SystemErrorText(GetLastError()) + ")";
            return false;
        }
        if (got == 0) break;  // the file became shorter meanwhile
        done += got;
    }
    content.resize(done);
    DocumentText document = ReadDocumentText(content, path, encoder);
    if (document.error != DocumentError::None) {
        *reason = DocumentErrorReason(document.error);
        return false;
    }
    text->swap(document.text);
    return true;
}
