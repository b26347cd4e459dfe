// The maker's other programs that the install wizard offers to download, and how the offer
// names them. Platform-free.
#pragma once

#include "base/paths.h"

struct RelatedProduct {
    const char* displayName;    // null ends the table
    const char* componentName;  // its set-up file is componentName + ".exe"
    const char* settingsKey;    // "Software\Kestrovan\<settingsKey>\Settings"
    const char* settingsValue;  // present when the program is installed
    const char* webPage;        // page path on the maker's web site
    unsigned char flags;        // kRecommended
    const char* description;
};

constexpr unsigned char kRecommended = 1;

extern const RelatedProduct kRelatedProducts[];
constexpr int kRelatedProductCount = 5;

// The key, under the machine's or the user's hive, whose settingsValue tells that the product
// is installed.
void FormRelatedSettingsKey(const RelatedProduct& product, char (&out)[kPathSize]);

// A product offered already ticked: recommended and not yet installed.
bool OfferedTicked(const RelatedProduct& product, bool installed);

// The offer's line: "<name> [Update]" when installed, "<name> [Recommended]" when ticked, else
// the name alone.
void FormOfferLabel(const RelatedProduct& product, bool installed, char (&out)[kPathSize]);
