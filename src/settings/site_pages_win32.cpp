#include "settings/site_pages_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "settings/system_checks.h"

void OpenSitePage(const char* page) {
    char address[kSitePageAddressSize];
    if (!FormSitePageAddress(page, address)) return;
    ShellExecuteA(nullptr, nullptr, address, nullptr, nullptr, SW_SHOWNORMAL);
}
