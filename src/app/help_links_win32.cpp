#include "app/help_links_win32.h"

#include "app/help_links.h"
#include "resource_ids.h"
#include "settings/site_pages_win32.h"

int InsertHelpLinks(HMENU menu, UINT beforeId) {
    int row = 0;
    for (; kHelpLinks[row].caption != nullptr && row < kMaxHelpLinks; ++row) {
        const HelpLink& link = kHelpLinks[row];
        if (link.caption[0] == '\0') {
            InsertMenuA(menu, beforeId, MF_BYCOMMAND | MF_SEPARATOR, 0, nullptr);
        } else {
            InsertMenuA(menu, beforeId, MF_BYCOMMAND | MF_STRING, IDCMD_FIRST_LINK + row,
                        link.caption);
        }
    }
    InsertMenuA(menu, beforeId, MF_BYCOMMAND | MF_SEPARATOR, 0, nullptr);
    return row;
}

void OpenHelpLink(int commandId, int inserted) {
    const int row = commandId - IDCMD_FIRST_LINK;
    if (row < 0 || row >= inserted) return;
    if (kHelpLinks[row].caption[0] == '\0') return;
    OpenSitePage(kHelpLinks[row].page);
}
