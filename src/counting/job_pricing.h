// The price of a typing job: a fixed cost plus a rate per character, per word and per line,
// computed from the texts of the main window's pricing fields. Platform-free.
#pragma once

#include <cstdint>
#include <string>

// Texts of the main window's fields as read from the window.
struct PricingFields {
    std::string fixedCost;     // field 201
    std::string characters;    // field 202 (read with the GetDlgItemInt rule)
    std::string words;         // field 203
    std::string width;         // field 204
    std::string perCharacter;  // field 207
    std::string perWord;       // field 208
    std::string perLine;       // field 209
};

struct PublishedValue {
    const char* name = nullptr;
    std::string text;
};

// The input texts after the recomputation's corrections: rewrite a field only when its flag is
// set.
struct CorrectedInputTexts {
    bool widthChanged = false;
    std::string width;
    bool perCharacterChanged = false;
    std::string perCharacter;
    bool perWordChanged = false;
    std::string perWord;
    bool perLineChanged = false;
    std::string perLine;
};

// The value names (section "Settings") under which the priced job is published: the invoice
// reads them as the values of its columns 3 to 6.
constexpr const char* kPublishedCharactersName = "3";
constexpr const char* kPublishedWordsName = "4";
constexpr const char* kPublishedLinesName = "5";
constexpr const char* kPublishedTotalName = "6";

struct PricingOutcome : CorrectedInputTexts {
    int lines = 0;  // field 205 (written as signed decimal)
    double characterAmount = 0, wordAmount = 0, lineAmount = 0, total = 0;
    std::string characterAmountText, wordAmountText, lineAmountText, totalText;  // "%.2lf "
    PublishedValue published[4];  // characters, lines, words, total: the order they are written
};

// The recomputation of the price: corrects the inputs, counts the lines of the counted text at
// the corrected width, computes and formats the amounts and the values to publish.
// countedText may be null (no text counted yet: lines are 0).
PricingOutcome ComputeJobPrice(const PricingFields& fields, const char* countedText);

// The GetDlgItemInt (signed) reading rule and the atof rule, for the window and the tool.
bool ReadDialogInt(const std::string& text, int* value);  // false: not an integer -> reads as 0
double ReadAtofDecimal(const std::string& text);          // atof rule; no number -> 0

// The five pricing inputs in their load/save order: 201, 207, 208, 204, 209.
struct PricingInput {
    int controlId;
    const char* valueName;
    const char* defaultText;
};
extern const PricingInput kPricingInputs[5];

// The steps of ComputeJobPrice, for a caller that counts the text itself (the command-line
// counter, whose counts are not limited to the window's 32-bit fields).

// The inputs after the recomputation's corrections, and the numbers read from them.
struct CorrectedPricingInputs : CorrectedInputTexts {
    int lineWidth = 1;  // the wrap width for the line count, 1..500
    double fixedCost = 0, perCharacterRate = 0, perWordRate = 0, perLineRate = 0;
};
CorrectedPricingInputs CorrectPricingInputs(const PricingFields& fields);

struct JobAmounts {
    double characterAmount = 0, wordAmount = 0, lineAmount = 0, total = 0;
};
JobAmounts PriceJob(const CorrectedPricingInputs& inputs, double characters, double words,
                    double lines);

// An amount as "%.2f" (the published total); ShowAmount's field text adds one space.
std::string FormatAmount(double amount);
