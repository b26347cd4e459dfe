// Job pricing: whatever the field texts, the corrected inputs are in range, the amounts are
// numbers, the texts are formatted as the window shows them, and the reading rules agree with
// the C library where they should.
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "counting/job_pricing.h"
#include "counting/text_counting.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// "-"? digits "." two digits, then `suffix`; never "-0.00".
bool IsAmountText(const std::string& text, const char* suffix) {
    const std::size_t suffixLength = std::strlen(suffix);
    if (text.size() < 4 + suffixLength) return false;
    if (text.compare(text.size() - suffixLength, suffixLength, suffix) != 0) return false;
    const std::string number = text.substr(0, text.size() - suffixLength);
    if (number == "-0.00") return false;
    std::size_t i = number[0] == '-' ? 1 : 0;
    const std::size_t point = number.size() - 3;
    if (number[point] != '.' || point == i) return false;
    for (; i < number.size(); ++i) {
        if (i != point && (number[i] < '0' || number[i] > '9')) return false;
    }
    return true;
}

// The text a C library's strtod would read other than as a plain decimal: inf, nan, hex.
bool HasNonDecimalForm(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::strchr(" \t\n\v\f\r", text[i]) != nullptr && text[i] != '\0') {
        ++i;
    }
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (i >= text.size()) return false;
    const char c = text[i];
    if (c == 'i' || c == 'I' || c == 'n' || c == 'N') return true;
    return c == '0' && i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X');
}

void CheckReaders(const std::string& text) {
    // What the window can read of a field: up to 259 characters or a zero byte.
    std::string field = text.substr(0, 259);
    field = field.substr(0, std::strlen(field.c_str()));

    const double value = ReadAtofDecimal(text);
    Check(std::isfinite(value));
    if (!HasNonDecimalForm(field)) {
        double expected = std::strtod(field.c_str(), nullptr);
        if (std::isinf(expected)) expected = std::copysign(1.7976931348623157e308, expected);
        Check(value == expected || (value == 0 && expected == 0));
    }

    int integer = 12345;
    const bool translated = ReadDialogInt(text, &integer);
    if (!translated) {
        Check(integer == 0);
    } else {
        errno = 0;
        char* end = nullptr;
        const long long expected = std::strtoll(field.c_str(), &end, 10);
        Check(errno == 0 && expected == integer);
        while (*end == ' ') ++end;
        Check(*end == '\0');
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Seven field texts and the counted text, separated by 0xFF bytes.
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF && parts.size() < 8) {
            parts.emplace_back();
        } else {
            parts.back() += static_cast<char>(data[i]);
        }
    }
    parts.resize(8);
    PricingFields fields;
    fields.fixedCost = parts[0];
    fields.characters = parts[1];
    fields.words = parts[2];
    fields.width = parts[3];
    fields.perCharacter = parts[4];
    fields.perWord = parts[5];
    fields.perLine = parts[6];
    const bool hasText = !parts[7].empty();
    const char* countedText = hasText ? parts[7].c_str() : nullptr;

    for (int i = 0; i < 7; ++i) CheckReaders(parts[i]);

    const PricingOutcome price = ComputeJobPrice(fields, countedText);
    int width = 0;
    Check(ReadDialogInt(price.width, &width) && width >= 1 && width <= 500);
    if (price.widthChanged) Check(price.width == "1" || price.width == "500");
    const struct {
        bool changed;
        const std::string& text;
    } rates[] = {{price.perCharacterChanged, price.perCharacter},
                 {price.perWordChanged, price.perWord},
                 {price.perLineChanged, price.perLine}};
    for (const auto& rate : rates) {
        if (rate.changed) Check(rate.text == "0.00" || rate.text == "100.00");
        const double value = ReadAtofDecimal(rate.text);
        Check(value >= 0.0 && value <= 100.0);
    }

    Check(price.lines >= 0);
    Check(price.lines == (hasText ? CountLines(countedText, width) : 0));
    for (double amount : {price.characterAmount, price.wordAmount, price.lineAmount, price.total}) {
        Check(std::isfinite(amount));
    }
    for (const std::string* text : {&price.characterAmountText, &price.wordAmountText,
                                    &price.lineAmountText, &price.totalText}) {
        Check(IsAmountText(*text, " "));
    }
    Check(std::strcmp(price.published[0].name, "3") == 0);
    Check(std::strcmp(price.published[1].name, "5") == 0);
    Check(std::strcmp(price.published[2].name, "4") == 0);
    Check(std::strcmp(price.published[3].name, "6") == 0);
    Check(IsAmountText(price.published[3].text, ""));
    Check(price.published[3].text + " " == price.totalText);
    Check(price.published[1].text == std::to_string(price.lines));
    return 0;
}
