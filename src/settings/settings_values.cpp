#include "settings/settings_values.h"

#include <climits>

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

int ParseSettingsInt(const char* text, int defaultValue) {
    if (text == nullptr || *text == '\0') return defaultValue;
    const char* p = text;
    while (IsSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = (*p == '-');
        ++p;
    }
    // Accumulate in a wider type and saturate, as the C library's conversion does.
    long long value = 0;
    while (*p >= '0' && *p <= '9') {
        if (value <= static_cast<long long>(INT_MAX) + 1) value = value * 10 + (*p - '0');
        ++p;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

bool ParseSettingsFlag(const char* text, bool defaultValue) {
    if (text == nullptr || *text == '\0') return defaultValue;
    return text[0] != '0';
}
