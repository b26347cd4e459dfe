// The maker's web pages, opened in the user's browser.
#pragma once

// Opens a page of the maker's web site ("kb/10015").
void OpenSitePage(const char* page);
