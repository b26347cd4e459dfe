// How integers and flags are encoded in the settings texts. Platform-free.
#pragma once

#include <cstddef>

// Every settings text is read into a buffer of this size: 259 characters and a zero.
constexpr std::size_t kSettingsTextSize = 260;

// An integer setting as stored: empty text gives the default; otherwise leading white space,
// an optional sign and the decimal digits that follow (none: 0, not the default).
int ParseSettingsInt(const char* text, int defaultValue);

// A flag setting as stored: empty text gives the default; first character '0' is false,
// anything else true.
bool ParseSettingsFlag(const char* text, bool defaultValue);
