#include "counting/job_pricing.h"

#include <cmath>
#include <cstdio>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

PricingFields Fields(const std::string& fixed, const std::string& perCharacter,
                     const std::string& perWord, const std::string& perLine,
                     const std::string& width = "80", const std::string& characters = "0",
                     const std::string& words = "0") {
    PricingFields fields;
    fields.fixedCost = fixed;
    fields.characters = characters;
    fields.words = words;
    fields.width = width;
    fields.perCharacter = perCharacter;
    fields.perWord = perWord;
    fields.perLine = perLine;
    return fields;
}

int DialogInt(const std::string& text, bool* translated = nullptr) {
    int value = 12345;
    const bool ok = ReadDialogInt(text, &value);
    if (translated != nullptr) *translated = ok;
    return value;
}

TEST(JobPrice, FixedCostPlusCountsTimesRates) {
    const PricingOutcome price =
        ComputeJobPrice(Fields("5", "0.01", "0", "0.5", "80", "1000", "7"), "one\r\ntwo\r\nthree");
    EXPECT_EQ(price.lines, 3);
    EXPECT_EQ(price.characterAmountText, "10.00 ");
    EXPECT_EQ(price.wordAmountText, "0.00 ");
    EXPECT_EQ(price.lineAmountText, "1.50 ");
    EXPECT_EQ(price.totalText, "16.50 ");
    EXPECT_DOUBLE_EQ(price.total, 16.5);
    EXPECT_FALSE(price.widthChanged || price.perCharacterChanged || price.perWordChanged ||
                 price.perLineChanged);
}

TEST(JobPrice, PublishesCharactersLinesWordsAndTotalInThatOrder) {
    const PricingOutcome price =
        ComputeJobPrice(Fields("5", "0.01", "0", "0.5", "80", "1000", "7"), "one\r\ntwo\r\nthree");
    ASSERT_STREQ(price.published[0].name, "3");
    ASSERT_STREQ(price.published[1].name, "5");
    ASSERT_STREQ(price.published[2].name, "4");
    ASSERT_STREQ(price.published[3].name, "6");
    EXPECT_EQ(price.published[0].text, "1000");
    EXPECT_EQ(price.published[1].text, "3");
    EXPECT_EQ(price.published[2].text, "7");
    EXPECT_EQ(price.published[3].text, "16.50");  // no trailing space
}

TEST(JobPrice, WithoutCountedTextThereAreNoLinesWhateverTheWidth) {
    for (const char* width : {"1", "80", "0", "abc"}) {
        const PricingOutcome price = ComputeJobPrice(Fields("0", "0", "0", "1", width), nullptr);
        EXPECT_EQ(price.lines, 0) << width;
        EXPECT_EQ(price.published[1].text, "0");
    }
}

TEST(JobPrice, NegativeFixedCostLowersTheTotal) {
    const PricingOutcome price = ComputeJobPrice(Fields("-10", "0", "0", "0"), nullptr);
    EXPECT_EQ(price.totalText, "-10.00 ");
    EXPECT_EQ(price.published[3].text, "-10.00");
}

TEST(JobPriceWidth, BelowOneOrNoIntegerBecomesOneAndAbove500Becomes500) {
    for (const char* width : {"0", "-3", "", "abc", "-", "1e3", "12abc", "8 0", "+5", "2147483648",
                              "-2147483649", "99999999999999999999"}) {
        const PricingOutcome price = ComputeJobPrice(Fields("0", "0", "0", "0", width), "ab");
        EXPECT_TRUE(price.widthChanged) << width;
        EXPECT_EQ(price.width, "1") << width;
        EXPECT_EQ(price.lines, 2) << width;  // counted at width 1
    }
    for (const char* width : {"501", "2147483647", "  100000 "}) {
        const PricingOutcome price = ComputeJobPrice(Fields("0", "0", "0", "0", width), "ab");
        EXPECT_TRUE(price.widthChanged) << width;
        EXPECT_EQ(price.width, "500") << width;
    }
}

TEST(JobPriceWidth, ValuesInRangeStayAsTypedAndSetTheLineWidth) {
    const std::string text(1000, 'x');
    for (const char* width : {"1", "500", "80", " 7", "7 ", "-0"}) {
        const PricingOutcome price =
            ComputeJobPrice(Fields("0", "0", "0", "0", width), text.c_str());
        int expectedWidth = 0;
        ASSERT_TRUE(ReadDialogInt(width, &expectedWidth));
        if (expectedWidth < 1) {
            EXPECT_TRUE(price.widthChanged) << width;
            continue;
        }
        EXPECT_FALSE(price.widthChanged) << width;
        EXPECT_EQ(price.lines, (1000 + expectedWidth - 1) / expectedWidth) << width;
    }
}

TEST(JobPriceRates, AboveHundredBecomesHundredAndBelowZeroBecomesZero) {
    const PricingOutcome price =
        ComputeJobPrice(Fields("0", "150", "-1", "1e3", "80", "2", "3"), "a\nb\nc\nd");
    EXPECT_TRUE(price.perCharacterChanged);
    EXPECT_EQ(price.perCharacter, "100.00");
    EXPECT_TRUE(price.perWordChanged);
    EXPECT_EQ(price.perWord, "0.00");
    EXPECT_TRUE(price.perLineChanged);
    EXPECT_EQ(price.perLine, "100.00");
    // The amounts use the corrected rates.
    EXPECT_EQ(price.characterAmountText, "200.00 ");
    EXPECT_EQ(price.wordAmountText, "0.00 ");
    EXPECT_EQ(price.lineAmountText, "400.00 ");
    EXPECT_EQ(price.totalText, "600.00 ");
}

TEST(JobPriceRates, BoundsAndNonNumbersStayAsTyped) {
    for (const char* rate : {"100", "100.000", "0", "0.00", "-0", "abc", "", "  7.5xyz"}) {
        const PricingOutcome price =
            ComputeJobPrice(Fields("0", rate, rate, rate, "80", "1", "1"), "x");
        EXPECT_FALSE(price.perCharacterChanged || price.perWordChanged || price.perLineChanged)
            << rate;
    }
    const PricingOutcome justAbove =
        ComputeJobPrice(Fields("0", "100.0000001", "-0.0000001", "0", "80"), nullptr);
    EXPECT_EQ(justAbove.perCharacter, "100.00");
    EXPECT_EQ(justAbove.perWord, "0.00");
}

TEST(JobPriceRates, NegativeZeroNeverShowsAsMinusZero) {
    const PricingOutcome price =
        ComputeJobPrice(Fields("-0", "-0", "-0", "-0", "80", "5", "1"), "x");
    EXPECT_FALSE(price.perCharacterChanged);
    EXPECT_EQ(price.characterAmountText, "0.00 ");
    EXPECT_EQ(price.wordAmountText, "0.00 ");
    EXPECT_EQ(price.lineAmountText, "0.00 ");
    EXPECT_EQ(price.totalText, "0.00 ");
    EXPECT_EQ(price.published[3].text, "0.00");
}

TEST(JobPriceRates, OnlyTheFirst259CharactersAreRead) {
    // The window's buffer holds 258 spaces and the minus sign: no number, so no correction.
    const std::string cut = std::string(258, ' ') + "-7";
    const PricingOutcome price = ComputeJobPrice(Fields("0", cut, "0", "0"), nullptr);
    EXPECT_FALSE(price.perCharacterChanged);
    const std::string fits = std::string(257, ' ') + "-7";
    EXPECT_TRUE(ComputeJobPrice(Fields("0", fits, "0", "0"), nullptr).perCharacterChanged);
    EXPECT_EQ(ReadAtofDecimal(std::string(259, '0') + "5"), 0.0);
}

TEST(JobPriceFormatting, AmountsAreRoundedByTheCLibraryNotByScaling) {
    // Each of these would come out one cent higher if rounded as floor(amount x 100 + 0.5).
    struct Case {
        const char* rate;
        const char* count;
        const char* shown;
    };
    const Case cases[] = {
        {"0.125", "1", "0.12 "},    // an exact tie: to even
        {"0.375", "1", "0.38 "},    // an exact tie: to even, upwards
        {"1.005", "1", "1.00 "},    // just below the half
        {"2.675", "1", "2.67 "},    // just below the half
        {"0.005", "3", "0.01 "},    // 0.015 is stored just below the half
        {"0.0125", "10", "0.12 "},  // the product is an exact tie
    };
    for (const Case& c : cases) {
        const PricingOutcome price =
            ComputeJobPrice(Fields("0", c.rate, "0", "0", "80", c.count), nullptr);
        EXPECT_EQ(price.characterAmountText, c.shown) << c.rate << " x " << c.count;
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.2f ", price.characterAmount);
        EXPECT_EQ(price.characterAmountText, expected);
    }
    EXPECT_EQ(ComputeJobPrice(Fields("0.125", "0", "0", "0"), nullptr).published[3].text, "0.12");
}

TEST(JobPriceFormatting, HugeOrNonDecimalInputsNeverGiveInfinityOrNan) {
    for (const char* text :
         {"1e999", "-1e999", "inf", "-infinity", "nan", "NAN(1)", "0x1p9", "1e308", "-1e-999"}) {
        const PricingOutcome price =
            ComputeJobPrice(Fields(text, text, text, text, text, "2147483647", "2147483647"), "x");
        EXPECT_TRUE(std::isfinite(price.total)) << text;
        EXPECT_THAT(price.totalText, Not(HasSubstr("inf"))) << text;
        EXPECT_THAT(price.totalText, Not(HasSubstr("nan"))) << text;
        EXPECT_EQ(price.totalText.back(), ' ');
    }
}

TEST(ReadAtofDecimal, TakesTheLongestDecimalPrefix) {
    EXPECT_DOUBLE_EQ(ReadAtofDecimal(" \t+1.5e2xyz"), 150.0);
    EXPECT_DOUBLE_EQ(ReadAtofDecimal(".5"), 0.5);
    EXPECT_DOUBLE_EQ(ReadAtofDecimal("5."), 5.0);
    EXPECT_DOUBLE_EQ(ReadAtofDecimal("-.5e-1"), -0.05);
    EXPECT_DOUBLE_EQ(ReadAtofDecimal("1e"), 1.0);
    EXPECT_DOUBLE_EQ(ReadAtofDecimal("1e+"), 1.0);
    EXPECT_DOUBLE_EQ(ReadAtofDecimal("2E3"), 2000.0);
    EXPECT_DOUBLE_EQ(ReadAtofDecimal("1,5"), 1.0);
    EXPECT_DOUBLE_EQ(ReadAtofDecimal("12 34"), 12.0);
}

TEST(ReadAtofDecimal, TextWithoutANumberIsZero) {
    for (const char* text : {"", " ", ".", "-", "+.", "e5", "--1", "abc", "inf", "nan", "$5"}) {
        EXPECT_EQ(ReadAtofDecimal(text), 0.0) << text;
    }
    EXPECT_EQ(ReadAtofDecimal("0x10"), 0.0);  // the decimal prefix "0"
    EXPECT_TRUE(std::signbit(ReadAtofDecimal("-0")));
}

TEST(ReadDialogInt, SignedDecimalWithLeadingSpaces) {
    bool ok = false;
    EXPECT_EQ(DialogInt("42", &ok), 42);
    EXPECT_TRUE(ok);
    EXPECT_EQ(DialogInt("   -7", &ok), -7);
    EXPECT_TRUE(ok);
    EXPECT_EQ(DialogInt("2147483647", &ok), 2147483647);
    EXPECT_TRUE(ok);
    EXPECT_EQ(DialogInt("-2147483648", &ok), -2147483647 - 1);
    EXPECT_TRUE(ok);
    EXPECT_EQ(DialogInt("007", &ok), 7);
    EXPECT_TRUE(ok);
}

TEST(ReadDialogInt, AnythingElseIsNoIntegerAndReadsAsZero) {
    for (const char* text : {"", " ", "-", "+5", "12abc", "1e3", "1.5", "4 2", "\t5", "- 5",
                             "2147483648", "-2147483649", "99999999999999999999999999"}) {
        bool ok = true;
        EXPECT_EQ(DialogInt(text, &ok), 0) << text;
        EXPECT_FALSE(ok) << text;
    }
}

TEST(ReadDialogInt, CountFieldsAreReadByThisRule) {
    // A count field that does not hold an integer prices as 0.
    const PricingOutcome price =
        ComputeJobPrice(Fields("0", "1", "1", "0", "80", "12abc", " 30"), nullptr);
    EXPECT_EQ(price.characterAmountText, "0.00 ");
    EXPECT_EQ(price.wordAmountText, "30.00 ");
    EXPECT_EQ(price.published[0].text, "0");
    EXPECT_EQ(price.published[2].text, "30");
}

TEST(PricingInputs, LoadAndSaveOrderWithTheWindowsDefaults) {
    const int order[] = {201, 207, 208, 204, 209};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(kPricingInputs[i].controlId, order[i]);
    // Each default is accepted by the recomputation unchanged.
    PricingFields fields;
    for (const PricingInput& input : kPricingInputs) {
        if (input.controlId == 201) fields.fixedCost = input.defaultText;
        if (input.controlId == 204) fields.width = input.defaultText;
        if (input.controlId == 207) fields.perCharacter = input.defaultText;
        if (input.controlId == 208) fields.perWord = input.defaultText;
        if (input.controlId == 209) fields.perLine = input.defaultText;
    }
    const PricingOutcome price = ComputeJobPrice(fields, nullptr);
    EXPECT_FALSE(price.widthChanged || price.perCharacterChanged || price.perWordChanged ||
                 price.perLineChanged);
    EXPECT_EQ(price.totalText, "0.00 ");
}

}  // namespace
