#include "counting/job_pricing.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "counting/text_counting.h"

namespace {

// The window reads every field into a 260-byte buffer: 259 characters and the zero.
constexpr std::size_t kFieldTextLimit = 259;

constexpr int kMinWidth = 1;
constexpr int kMaxWidth = 500;
constexpr double kMaxRate = 100.0;

// The part of a field's text the window can read: up to the buffer's size or a zero byte.
std::string FieldText(const std::string& text) {
    std::size_t length = 0;
    while (length < text.size() && length < kFieldTextLimit && text[length] != '\0') ++length;
    return text.substr(0, length);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string IntText(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    return buffer;
}

// One rate: below 0 becomes "0.00"; otherwise above 100 becomes "100.00". Exactly 0, exactly
// 100 and text that is no number stay as typed.
void CorrectRate(const std::string& typed, std::string* text, bool* changed, double* rate) {
    *text = FieldText(typed);
    if (ReadAtofDecimal(*text) < 0.0) {
        *text = "0.00";
        *changed = true;
    } else if (ReadAtofDecimal(*text) > kMaxRate) {
        *text = "100.00";
        *changed = true;
    }
    *rate = ReadAtofDecimal(*text);
}

}  // namespace

const PricingInput kPricingInputs[5] = {
    {201, "FixedCostAmount", "0.00"}, {207, "CharacterCost", "0.00"}, {208, "WordCost", "0.00"},
    {204, "CharacterPerLine", "80"},  {209, "LineCost", "0.00"},
};

// Leading spaces, an optional minus sign, decimal digits, and nothing after them but spaces;
// anything else, or a value outside the signed 32-bit range, is not an integer.
bool ReadDialogInt(const std::string& text, int* value) {
    const std::string field = FieldText(text);
    const char* p = field.c_str();
    if (value != nullptr) *value = 0;
    while (*p == ' ') ++p;
    const bool negative = (*p == '-');
    if (negative) ++p;
    if (!IsDigit(*p)) return false;
    long long magnitude = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; IsDigit(*p); ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > limit) return false;
    }
    while (*p == ' ') ++p;
    if (*p != '\0') return false;
    if (value != nullptr) *value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

// The longest prefix of the form: white space, optional sign, digits with an optional full
// stop, optional exponent. Only this decimal form counts: "inf", "nan" and hexadecimal text,
// which some C libraries also accept, read as their decimal prefix ("0x10" as 0), so the value
// is always a number. Values beyond the range of a double read as the largest double.
double ReadAtofDecimal(const std::string& text) {
    const std::string field = FieldText(text);
    const char* p = field.c_str();
    while (IsCSpace(*p)) ++p;
    const char* start = p;
    if (*p == '+' || *p == '-') ++p;
    bool anyDigit = false;
    while (IsDigit(*p)) {
        ++p;
        anyDigit = true;
    }
    if (*p == '.') {
        ++p;
        while (IsDigit(*p)) {
            ++p;
            anyDigit = true;
        }
    }
    if (!anyDigit) return 0.0;
    const char* end = p;
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        if (*q == '+' || *q == '-') ++q;
        if (IsDigit(*q)) {
            while (IsDigit(*q)) ++q;
            end = q;
        }
    }
    const std::string number(start, end);
    double value = std::strtod(number.c_str(), nullptr);
    if (value > DBL_MAX) value = DBL_MAX;
    if (value < -DBL_MAX) value = -DBL_MAX;
    return value;
}

// The first steps of the recomputation, in its order: width lower bound, the three rates, width
// upper bound. The width written back is the integer text.
CorrectedPricingInputs CorrectPricingInputs(const PricingFields& fields) {
    CorrectedPricingInputs inputs;
    inputs.width = FieldText(fields.width);
    int width = 0;
    ReadDialogInt(inputs.width, &width);
    if (width < kMinWidth) {
        width = kMinWidth;
        inputs.width = IntText(width);
        inputs.widthChanged = true;
    }
    CorrectRate(fields.perCharacter, &inputs.perCharacter, &inputs.perCharacterChanged,
                &inputs.perCharacterRate);
    CorrectRate(fields.perWord, &inputs.perWord, &inputs.perWordChanged, &inputs.perWordRate);
    CorrectRate(fields.perLine, &inputs.perLine, &inputs.perLineChanged, &inputs.perLineRate);
    if (width > kMaxWidth) {
        width = kMaxWidth;
        inputs.width = IntText(width);
        inputs.widthChanged = true;
    }
    inputs.lineWidth = width;
    // The fixed cost has no bounds: a negative one lowers the total.
    inputs.fixedCost = ReadAtofDecimal(fields.fixedCost);
    return inputs;
}

JobAmounts PriceJob(const CorrectedPricingInputs& inputs, double characters, double words,
                    double lines) {
    JobAmounts amounts;
    amounts.characterAmount = inputs.perCharacterRate * characters;
    amounts.wordAmount = inputs.perWordRate * words;
    amounts.lineAmount = inputs.perLineRate * lines;
    amounts.total =
        inputs.fixedCost + amounts.characterAmount + amounts.wordAmount + amounts.lineAmount;
    return amounts;
}

// The C library rounds; we do not. A zero that prints with a minus sign (a rate typed as "-0",
// or a total a hair below zero) is shown as "0.00": an invoice never says "-0.00".
std::string FormatAmount(double amount) {
    char buffer[400];  // the largest double takes 309 digits before the point
    std::snprintf(buffer, sizeof buffer, "%.2f", amount);
    const std::string text = buffer;
    return text == "-0.00" ? "0.00" : text;
}

PricingOutcome ComputeJobPrice(const PricingFields& fields, const char* countedText) {
    const CorrectedPricingInputs inputs = CorrectPricingInputs(fields);
    PricingOutcome outcome;
    static_cast<CorrectedInputTexts&>(outcome) = inputs;

    outcome.lines = countedText != nullptr ? CountLines(countedText, inputs.lineWidth) : 0;
    int characters = 0;
    int words = 0;
    ReadDialogInt(fields.characters, &characters);
    ReadDialogInt(fields.words, &words);

    const JobAmounts amounts = PriceJob(inputs, characters, words, outcome.lines);
    outcome.characterAmount = amounts.characterAmount;
    outcome.wordAmount = amounts.wordAmount;
    outcome.lineAmount = amounts.lineAmount;
    outcome.total = amounts.total;
    outcome.characterAmountText = FormatAmount(amounts.characterAmount) + " ";
    outcome.wordAmountText = FormatAmount(amounts.wordAmount) + " ";
    outcome.lineAmountText = FormatAmount(amounts.lineAmount) + " ";
    outcome.totalText = FormatAmount(amounts.total) + " ";

    outcome.published[0] = {kPublishedCharactersName, IntText(characters)};
    outcome.published[1] = {kPublishedLinesName, IntText(outcome.lines)};
    outcome.published[2] = {kPublishedWordsName, IntText(words)};
    outcome.published[3] = {kPublishedTotalName, FormatAmount(amounts.total)};
    return outcome;
}
