#include "document/system_encoder_win32.h"

void SystemCodePageEncoder::Append(char32_t character, std::string* out) const {
    if (character < 0x80) {
        out->push_back(static_cast<char>(character));
        return;
    }
    wchar_t units[2];
    int count = 1;
    if (character >= 0x10000) {
        units[0] = static_cast<wchar_t>(0xD800 + ((character - 0x10000) >> 10));
        units[1] = static_cast<wchar_t>(0xDC00 + ((character - 0x10000) & 0x3FF));
        count = 2;
    } else {
        units[0] = static_cast<wchar_t>(character);
    }
    char bytes[8];
    BOOL usedDefault = FALSE;
    // Code pages such as UTF-8 take no default-character arguments.
    const bool takesDefault = codePage_ != CP_UTF8 && codePage_ != CP_UTF7;
    const int written = WideCharToMultiByte(
        static_cast<UINT>(codePage_), takesDefault ? WC_NO_BEST_FIT_CHARS : 0, units, count, bytes,
        sizeof bytes, nullptr, takesDefault ? &usedDefault : nullptr);
    if (written <= 0 || usedDefault) {
        out->push_back('?');
    } else {
        out->append(bytes, static_cast<std::size_t>(written));
    }
}
