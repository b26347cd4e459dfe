#include "count_options.h"

#include <cstring>

namespace {

struct ValueOption {
    const char* name;
    std::string PricingFields::*field;  // null: the code page
    bool prices;                        // giving it turns the price column on
};

const ValueOption kValueOptions[] = {
    {"--width", &PricingFields::width, false},
    {"--fixed", &PricingFields::fixedCost, true},
    {"--per-char", &PricingFields::perCharacter, true},
    {"--per-word", &PricingFields::perWord, true},
    {"--per-line", &PricingFields::perLine, true},
    {"--codepage", nullptr, false},
};

// The defaults are the program's own: width 80, no fixed cost, no rates.
void SetDefaults(PricingFields* pricing) {
    for (const PricingInput& input : kPricingInputs) {
        switch (input.controlId) {
            case 201:
                pricing->fixedCost = input.defaultText;
                break;
            case 204:
                pricing->width = input.defaultText;
                break;
            case 207:
                pricing->perCharacter = input.defaultText;
                break;
            case 208:
                pricing->perWord = input.defaultText;
                break;
            case 209:
                pricing->perLine = input.defaultText;
                break;
            default:
                break;
        }
    }
}

}  // namespace

bool ParseCountOptions(const std::vector<std::string>& arguments, CountOptions* options,
                       std::string* error) {
    *options = CountOptions();
    SetDefaults(&options->pricing);
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument == "-" || argument.empty() || argument[0] != '-') {
            options->files.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            options->help = true;
            continue;
        }
        if (argument == "--text") {
            options->text = true;
            continue;
        }
        const ValueOption* matched = nullptr;
        std::string value;
        bool hasValue = false;
        for (const ValueOption& option : kValueOptions) {
            const std::size_t length = std::strlen(option.name);
            if (argument.compare(0, length, option.name) != 0) continue;
            if (argument.size() == length) {
                matched = &option;
            } else if (argument[length] == '=') {
                matched = &option;
                value = argument.substr(length + 1);
                hasValue = true;
            }
            if (matched != nullptr) break;
        }
        if (matched == nullptr) {
            *error = "unknown option '" + argument + "'";
            return false;
        }
        if (!hasValue) {
            if (i + 1 >= arguments.size()) {
                *error = std::string("option '") + matched->name + "' needs a value";
                return false;
            }
            value = arguments[++i];
        }
        if (matched->field != nullptr) {
            options->pricing.*(matched->field) = value;
        } else {
            options->codePage = value;
        }
        if (matched->prices) options->priced = true;
    }
    return true;
}

const char* CountHelpText() {
    return "Usage: quillmet-count [--width N] [--fixed X] [--per-char X] [--per-word X]\n"
           "                      [--per-line X] [--codepage N] [--text] [FILE...]\n"
           "\n"
           "Counts characters, words and lines of each FILE (standard input when there is\n"
           "none, or for '-') with Quillmet's rules, and prints them in columns:\n"
           "characters, words, lines, [price,] file name. With more than one FILE a last\n"
           "row \"total\" adds them up.\n"
           "\n"
           "  --width N      characters per line for the line count (default 80)\n"
           "  --fixed X      fixed cost per job, that is per file (default 0.00)\n"
           "  --per-char X   rate per character (default 0.00)\n"
           "  --per-word X   rate per word (default 0.00)\n"
           "  --per-line X   rate per line (default 0.00)\n"
           "  --codepage N   the ANSI code page of a document's counted text (default\n"
           "                 1252 on Linux, the system's ANSI code page on Windows)\n"
           "  --text         print the counted text of each FILE instead of the counts\n"
           "  -h, --help     show this text\n"
           "  --             the arguments that follow are file names\n"
           "\n"
           "Any of --fixed, --per-char, --per-word, --per-line adds the price column:\n"
           "fixed cost + characters x rate + words x rate + lines x rate, with two\n"
           "decimals. The total row's price is the sum of the files' prices. The values\n"
           "are read and corrected as Quillmet does: a width that is no whole number or\n"
           "is below 1 counts as 1, above 500 as 500; a rate below 0 counts as 0, above\n"
           "100 as 100; text that is no number counts as 0.\n"
           "\n"
           "A file is counted as its bytes: characters = file size, and a CR LF line\n"
           "break is two characters. A word is a run of the bytes a-z, A-Z, 0-9, 0x80-0xA5,\n"
           "apostrophe, full stop and colon. A line is a piece of text, ended by CR, LF\n"
           "or its N-th column, that holds at least one byte 0x21-0x7F; spaces take a\n"
           "column, other control bytes and bytes 0x80-0xFF take none.\n"
           "A NUL byte is counted like any other control byte: it is a character, it\n"
           "separates words, it takes no column and does not end the line. Counting does\n"
           "not stop at it.\n"
           "\n"
           "Documents (.docx, .odt, .rtf, told by their content) are counted as their\n"
           "text copied to the clipboard as ANSI text: paragraphs end in CR LF and the\n"
           "last one has none, a tab is a tab, a manual line break is CR LF, and a\n"
           "character the code page lacks is \"?\". A document is read only up to 256 MiB\n"
           "of text, and one whose compressed data is damaged is not counted.\n"
           "\n"
           "Exit status: 0 when every file was counted, 1 when a file could not be read\n"
           "(the others are still counted) or the output could not be written, 2 for a\n"
           "wrong command line.\n";
}
