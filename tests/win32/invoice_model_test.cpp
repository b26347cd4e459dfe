// The invoice column model against Wine's real registry: layout, defaults, moves, the date.
#include "invoice/invoice_model_win32.h"

#include <windows.h>
#include <shlwapi.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "settings/settings_store_win32.h"
#include "support/product_settings_win32.h"

namespace {

// The raw registry value under the product key: type and bytes, or nothing when absent.
struct RawValue {
    bool present = false;
    DWORD type = 0;
    std::string bytes;
};

RawValue ReadRaw(const char* section, const char* name) {
    RawValue raw;
    std::string path = std::string(kProductKey) + "\\" + section;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return raw;
    }
    char data[1024];
    DWORD size = sizeof data;
    if (RegQueryValueExA(key, name, nullptr, &raw.type, reinterpret_cast<BYTE*>(data), &size) ==
        ERROR_SUCCESS) {
        raw.present = true;
        raw.bytes.assign(data, size);
    }
    RegCloseKey(key);
    return raw;
}

// A stored text as the program writes it: REG_SZ, the text and its terminating zero.
void ExpectStoredText(const char* section, const char* name, const std::string& text) {
    SCOPED_TRACE(std::string(section) + "/" + name);
    RawValue raw = ReadRaw(section, name);
    ASSERT_TRUE(raw.present);
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw.bytes, text + std::string(1, '\0'));
}

DWORD CountValues(const char* section) {
    std::string path = std::string(kProductKey) + "\\" + section;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return 0;
    }
    DWORD count = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return count;
}

std::string Text(void (*read)(int, char (&)[kSettingsTextSize]), int field) {
    char out[kSettingsTextSize];
    read(field, out);
    return out;
}

std::string Order() {
    std::string order;
    for (int position = 0; position < kInvoiceFieldCount; ++position) {
        order += static_cast<char>('0' + InvoiceFieldAtPosition(position));
    }
    return order;
}

class InvoiceModelTest : public testing::Test {
  protected:
    void SetUp() override { SHDeleteKeyA(HKEY_CURRENT_USER, kProductKey); }
    void TearDown() override { SHDeleteKeyA(HKEY_CURRENT_USER, kProductKey); }
};

TEST_F(InvoiceModelTest, FreshStoreHasIdentityOrderEveryFieldShownAndEmptyTexts) {
    EXPECT_EQ(Order(), "0123456");
    for (int field = 0; field < kInvoiceFieldCount; ++field) {
        SCOPED_TRACE(field);
        EXPECT_TRUE(IsInvoiceFieldShown(field));
        EXPECT_EQ(Text(ReadInvoiceColumnName, field), "");
        EXPECT_EQ(Text(ReadInvoiceDescription, field), "");
        EXPECT_EQ(Text(ReadInvoiceValue, field), "");
    }
    // Reading creates nothing.
    EXPECT_FALSE(ReadRaw("InvoiceOrder", "0").present);
}

TEST_F(InvoiceModelTest, NamesDescriptionsAndValuesLieInTheirOwnSectionsAndNames) {
    Store("Invoice", "Field2", "Client Job");
    Store("Settings", "Field2", "What the client calls it");
    Store("Settings", "2", "Smith, John");
    Store("Settings", "Field3", "not a value");
    EXPECT_EQ(Text(ReadInvoiceColumnName, 2), "Client Job");
    EXPECT_EQ(Text(ReadInvoiceDescription, 2), "What the client calls it");
    EXPECT_EQ(Text(ReadInvoiceValue, 2), "Smith, John");
    EXPECT_EQ(Text(ReadInvoiceValue, 3), "");

    WriteInvoiceColumnName(0, "My Invoice");
    WriteInvoiceValue(6, "12.50");
    ExpectStoredText("Invoice", "Field0", "My Invoice");
    ExpectStoredText("Settings", "6", "12.50");
}

TEST_F(InvoiceModelTest, ShownFlagsAreKeyedByFieldAndReadAsFlags) {
    Store("InvoiceShow", "1", "0");
    Store("InvoiceShow", "2", "00");
    Store("InvoiceShow", "3", "false");
    Store("InvoiceShow", "4", "");
    Store("InvoiceShow", "5", "2");
    EXPECT_FALSE(IsInvoiceFieldShown(1));
    EXPECT_FALSE(IsInvoiceFieldShown(2));
    EXPECT_TRUE(IsInvoiceFieldShown(3));
    EXPECT_TRUE(IsInvoiceFieldShown(4));
    EXPECT_TRUE(IsInvoiceFieldShown(5));
    EXPECT_TRUE(IsInvoiceFieldShown(6));

    SetInvoiceFieldShown(4, false);
    SetInvoiceFieldShown(1, true);
    ExpectStoredText("InvoiceShow", "4", "0");
    ExpectStoredText("InvoiceShow", "1", "1");
}

TEST_F(InvoiceModelTest, OrderIsKeyedByPositionAndDamagedEntriesReadAsThePosition) {
    Store("InvoiceOrder", "1", "6");
    Store("InvoiceOrder", "6", " 1x");
    Store("InvoiceOrder", "2", "");
    Store("InvoiceOrder", "3", "9");
    Store("InvoiceOrder", "4", "-2");
    EXPECT_EQ(Order(), "0623451");

    SetInvoiceFieldAtPosition(5, 3);
    ExpectStoredText("InvoiceOrder", "5", "3");
}

TEST_F(InvoiceModelTest, RestoreDefaultsWritesNamesAndDescriptionsOnly) {
    Store("InvoiceOrder", "1", "6");
    Store("InvoiceOrder", "6", "1");
    Store("InvoiceShow", "4", "0");
    Store("Settings", "2", "Letters");
    Store("Invoice", "Field0", "My Invoice");

    RestoreDefaultInvoiceFields();

    for (int field = 0; field < kInvoiceFieldCount; ++field) {
        ExpectStoredText("Invoice", InvoiceFieldKeyName(field), DefaultInvoiceColumnName(field));
        ExpectStoredText("Settings", InvoiceFieldKeyName(field), DefaultInvoiceDescription(field));
    }
    ExpectStoredText("Invoice", "Field0", "Typing Invoice");
    ExpectStoredText("Settings", "Field6", "Total Cost of one Typing Job");
    EXPECT_EQ(CountValues("Invoice"), 7u);
    EXPECT_EQ(CountValues("Settings"), 8u);  // seven descriptions and the job name
    EXPECT_EQ(Order(), "0623451");
    EXPECT_FALSE(IsInvoiceFieldShown(4));
    EXPECT_EQ(Text(ReadInvoiceValue, 2), "Letters");
}

TEST_F(InvoiceModelTest, DefaultsAreWrittenOnceSoRenamedTextsSurviveTheNextOpening) {
    EXPECT_TRUE(EnsureInvoiceDefaults());
    EXPECT_EQ(Text(ReadInvoiceColumnName, 0), "Typing Invoice");
    EXPECT_EQ(Text(ReadInvoiceDescription, 1), "Date Added to Invoice");
    ExpectStoredText("Settings", "InvoiceDefaultsStored", "1");

    WriteInvoiceColumnName(0, "Acme Transcripts");
    WriteInvoiceColumnName(2, "Client");
    Store("Settings", "Field2", "Who ordered it");
    EXPECT_FALSE(EnsureInvoiceDefaults());
    EXPECT_EQ(Text(ReadInvoiceColumnName, 0), "Acme Transcripts");
    EXPECT_EQ(Text(ReadInvoiceColumnName, 2), "Client");
    EXPECT_EQ(Text(ReadInvoiceDescription, 2), "Who ordered it");

    // Restore Defaults still brings them back, and later openings keep them.
    RestoreDefaultInvoiceFields();
    EXPECT_EQ(Text(ReadInvoiceColumnName, 0), "Typing Invoice");
    EXPECT_FALSE(EnsureInvoiceDefaults());
}

TEST_F(InvoiceModelTest, StoreOfAnEarlierVersionGetsTheDefaultsOnceLikeBefore) {
    // Earlier versions rewrote the defaults at every opening and kept no marker.
    Store("Invoice", "Field0", "Renamed Before");
    EXPECT_TRUE(EnsureInvoiceDefaults());
    EXPECT_EQ(Text(ReadInvoiceColumnName, 0), "Typing Invoice");
    WriteInvoiceColumnName(0, "Renamed Now");
    EXPECT_FALSE(EnsureInvoiceDefaults());
    EXPECT_EQ(Text(ReadInvoiceColumnName, 0), "Renamed Now");
}

TEST_F(InvoiceModelTest, MoveSwapsNeighboursAndARoundTripRestoresTheStoredOrder) {
    EXPECT_EQ(MoveInvoiceField(2, InvoiceMoveDirection::Up), 1);
    EXPECT_EQ(Order(), "0213456");
    ExpectStoredText("InvoiceOrder", "1", "2");
    ExpectStoredText("InvoiceOrder", "2", "1");
    EXPECT_EQ(CountValues("InvoiceOrder"), 2u);

    EXPECT_EQ(MoveInvoiceField(1, InvoiceMoveDirection::Down), 2);
    EXPECT_EQ(Order(), "0123456");
    ExpectStoredText("InvoiceOrder", "1", "1");
    ExpectStoredText("InvoiceOrder", "2", "2");
}

TEST_F(InvoiceModelTest, MovesNeverPassTheTitleOrTheLastPosition) {
    EXPECT_EQ(MoveInvoiceField(1, InvoiceMoveDirection::Up), -1);
    EXPECT_EQ(MoveInvoiceField(6, InvoiceMoveDirection::Down), -1);
    EXPECT_EQ(MoveInvoiceField(0, InvoiceMoveDirection::Down), -1);
    EXPECT_EQ(MoveInvoiceField(0, InvoiceMoveDirection::Up), -1);
    EXPECT_EQ(MoveInvoiceField(7, InvoiceMoveDirection::Up), -1);
    EXPECT_EQ(MoveInvoiceField(-1, InvoiceMoveDirection::Down), -1);
    EXPECT_EQ(CountValues("InvoiceOrder"), 0u);
    EXPECT_EQ(Order(), "0123456");

    // Total Cost from the bottom to the top of the data columns, and no further.
    int position = 6;
    for (int i = 0; i < 5; ++i) position = MoveInvoiceField(position, InvoiceMoveDirection::Up);
    EXPECT_EQ(position, 1);
    EXPECT_EQ(Order(), "0612345");
    EXPECT_EQ(MoveInvoiceField(1, InvoiceMoveDirection::Up), -1);
    EXPECT_EQ(Order(), "0612345");
}

TEST_F(InvoiceModelTest, ShownFlagsFollowTheirFieldsThroughMoves) {
    SetInvoiceFieldShown(4, false);
    EXPECT_EQ(MoveInvoiceField(4, InvoiceMoveDirection::Up), 3);
    EXPECT_EQ(InvoiceFieldAtPosition(3), 4);
    EXPECT_FALSE(IsInvoiceFieldShown(4));
    EXPECT_TRUE(IsInvoiceFieldShown(3));
    EXPECT_FALSE(ReadRaw("InvoiceShow", "3").present);
}

std::string TodayText() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%.4d-%.2d-%.2d", now.wYear, now.wMonth, now.wDay);
    return text;
}

TEST_F(InvoiceModelTest, StampedDateIsTodayAsValueOfFieldOne) {
    Store("Settings", "1", "1999-01-01");
    const std::string before = TodayText();
    StampInvoiceDate();
    const std::string after = TodayText();  // the day may turn while the test runs
    RawValue raw = ReadRaw("Settings", "1");
    ASSERT_TRUE(raw.present);
    const std::string stamped = raw.bytes.substr(0, raw.bytes.size() - 1);
    EXPECT_TRUE(stamped == before || stamped == after) << stamped;
    EXPECT_EQ(raw.bytes.size(), 11u);
    EXPECT_EQ(Text(ReadInvoiceValue, 0), "");
}

}  // namespace
