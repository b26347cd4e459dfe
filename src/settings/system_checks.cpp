#include "settings/system_checks.h"

#include <cstdio>

#include "base/maker_hosts.h"

namespace {

constexpr char kGateTextStart[] =
    "This version 1.05 of Quillmet will only work on Windows Vista (or earlier). By the time "
    "you see this an upgraded version of the software which does work under this version "
    "should be able to be downloaded from ";
constexpr char kSoftwarePage[] = "/software";
constexpr char kGateTextMiddle[] =
    ". Please download the new file and run the installer again.\r\n\r\nIf you have just "
    "downloaded the file and this message appears again, please see ";
constexpr char kGateTextEnd[] =
    " for information about where to download the newer version for this software.";

constexpr char kAddressStart[] = "http://";
constexpr char kAddressEnd[] = ".html";

// Characters of a site page address for a page path of pageLength characters.
constexpr std::size_t SitePageAddressLength(std::size_t pageLength) {
    return (sizeof kAddressStart - 1) + (sizeof kMakerWebHost - 1) + 1 + pageLength +
           (sizeof kAddressEnd - 1);
}

constexpr std::size_t kGateAddressLength = SitePageAddressLength(sizeof kVersionGatePage - 1);

// A build with a host name too long for the fixed buffers fails here rather than at run time.
static_assert(kGateAddressLength < kSitePageAddressSize,
              "the web host is too long for the site page addresses");
static_assert((sizeof kGateTextStart - 1) + (sizeof kMakerWebHost - 1) +
                      (sizeof kSoftwarePage - 1) + (sizeof kGateTextMiddle - 1) +
                      kGateAddressLength + (sizeof kGateTextEnd - 1) <
                  kVersionGateMessageSize,
              "the web host is too long for the version gate message");

}  // namespace

bool FormSitePageAddress(const char* page, char (&out)[kSitePageAddressSize]) {
    const int length = std::snprintf(out, sizeof out, "%s%s/%s%s", kAddressStart, kMakerWebHost,
                                     page != nullptr ? page : "", kAddressEnd);
    if (length < 0 || static_cast<std::size_t>(length) >= sizeof out) {
        out[0] = '\0';
        return false;
    }
    return true;
}

void FormVersionGateMessage(char (&out)[kVersionGateMessageSize]) {
    char address[kSitePageAddressSize];
    FormSitePageAddress(kVersionGatePage, address);
    std::snprintf(out, sizeof out, "%s%s%s%s%s%s", kGateTextStart, kMakerWebHost, kSoftwarePage,
                  kGateTextMiddle, address, kGateTextEnd);
}

bool WindowsVersionPassesGate(std::uint32_t major, std::uint32_t minor) {
    return major < 6 || (major == 6 && minor == 0);
}

bool IsWindows2000OrLaterVersion(std::uint32_t major) { return major > 4; }
