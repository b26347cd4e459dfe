#include "settings/settings_values.h"

#include <gtest/gtest.h>

TEST(SettingsInt, EmptyTextGivesTheDefault) {
    EXPECT_EQ(ParseSettingsInt("", 119), 119);
    EXPECT_EQ(ParseSettingsInt(nullptr, -3), -3);
}

TEST(SettingsInt, TextWithoutDigitsIsZeroNotTheDefault) {
    EXPECT_EQ(ParseSettingsInt("abc", 119), 0);
    EXPECT_EQ(ParseSettingsInt(" ", 119), 0);
    EXPECT_EQ(ParseSettingsInt("-", 119), 0);
    EXPECT_EQ(ParseSettingsInt("+x", 119), 0);
}

TEST(SettingsInt, LeadingSpaceSignAndTrailingTextAreHandled) {
    EXPECT_EQ(ParseSettingsInt(" 42x", 119), 42);
    EXPECT_EQ(ParseSettingsInt("\t-3", 0), -3);
    EXPECT_EQ(ParseSettingsInt("+7 8", 0), 7);
    EXPECT_EQ(ParseSettingsInt("00", 5), 0);
}

TEST(SettingsInt, OutOfRangeSaturatesInsteadOfWrapping) {
    EXPECT_EQ(ParseSettingsInt("2147483647", 0), 2147483647);
    EXPECT_EQ(ParseSettingsInt("-2147483648", 0), -2147483647 - 1);
    EXPECT_EQ(ParseSettingsInt("99999999999999999999999", 0), 2147483647);
    EXPECT_EQ(ParseSettingsInt("-99999999999999999999999", 0), -2147483647 - 1);
}

TEST(SettingsFlag, FirstCharacterZeroIsFalseAnythingElseTrue) {
    EXPECT_FALSE(ParseSettingsFlag("0", true));
    EXPECT_FALSE(ParseSettingsFlag("00", true));
    EXPECT_FALSE(ParseSettingsFlag("0yes", true));
    EXPECT_TRUE(ParseSettingsFlag("1", false));
    EXPECT_TRUE(ParseSettingsFlag("false", false));
    EXPECT_TRUE(ParseSettingsFlag("no", false));
    EXPECT_TRUE(ParseSettingsFlag("2", false));
    EXPECT_TRUE(ParseSettingsFlag(" 0", false));
}

TEST(SettingsFlag, EmptyTextGivesTheDefault) {
    EXPECT_TRUE(ParseSettingsFlag("", true));
    EXPECT_FALSE(ParseSettingsFlag("", false));
}
