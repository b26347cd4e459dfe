// The command line of quillmet-count.
#pragma once

#include <string>
#include <vector>

#include "counting/job_pricing.h"

struct CountOptions {
    bool help = false;
    bool priced = false;             // a price option was given: show the price column
    bool text = false;               // --text: print the counted text instead of the counts
    std::string codePage;            // --codepage as typed; empty: the default
    PricingFields pricing;           // width and rates as typed; the counts are not used
    std::vector<std::string> files;  // none: standard input; "-" also names standard input
};

// Fills `options` from the arguments after the program name. On a usage error returns false
// and puts a one-line explanation into `error`.
bool ParseCountOptions(const std::vector<std::string>& arguments, CountOptions* options,
                       std::string* error);

// The text of --help.
const char* CountHelpText();
