// The maker's web pages offered in the Help menu.
#pragma once

// One row of the Help menu's link list. An empty caption is a separator; a null caption
// ends the table.
struct HelpLink {
    const char* caption;
    const char* page;  // site page path without the ".html" suffix
};

// At most this many rows fit the menu's command range (9021..9089).
constexpr int kMaxHelpLinks = 69;

extern const HelpLink kHelpLinks[];
