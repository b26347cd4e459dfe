// The Help menu's rows of web links (kHelpLinks), commands IDCMD_FIRST_LINK onwards.
#pragma once

#include <windows.h>

// Puts the links before the item `beforeId`, with a separator after them. Returns how many
// rows went in (separators included).
int InsertHelpLinks(HMENU menu, UINT beforeId);

// Opens the page of the link with command `commandId`, when it is one of the `inserted` rows
// and not a separator.
void OpenHelpLink(int commandId, int inserted);
