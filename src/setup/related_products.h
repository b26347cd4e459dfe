// The maker's other programs that the install wizard offers to download. Platform-free.
#pragma once

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
