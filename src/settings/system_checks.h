// The rules behind the system checks: the Windows-version gate, its message, and the
// addresses of the maker's site pages. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>

// A site page address ("http://" host "/" page ".html") is formed in a buffer of this size.
constexpr std::size_t kSitePageAddressSize = 320;

// The page about newer versions, opened when the version gate fails.
inline constexpr char kVersionGatePage[] = "kb/10015";
inline constexpr char kVersionGateCaption[] = "Updated Version Required";
// Large enough for the gate message with any host name the build may set (checked at
// compile time).
constexpr std::size_t kVersionGateMessageSize = 1024;

// Forms the address of a page of the maker's web site ("kb/10015" ->
// "http://<web host>/kb/10015.html"). An address that would not fit the buffer is not cut
// (a cut address names some other page): out is left empty and the result is false.
bool FormSitePageAddress(const char* page, char (&out)[kSitePageAddressSize]);

// The text of the "Updated Version Required" message.
void FormVersionGateMessage(char (&out)[kVersionGateMessageSize]);

// Windows up to Vista (6.0) passes; every later version needs an updated program.
bool WindowsVersionPassesGate(std::uint32_t major, std::uint32_t minor);

// Windows 2000 and later report a major version above 4.
bool IsWindows2000OrLaterVersion(std::uint32_t major);
