// The invoice dialog's window-free rules: move-button enabling, the Data column's texts and the
// texts of the two file kinds.
#include "invoice/invoice_dialog_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "invoice/invoice_fields.h"

namespace {

TEST(InvoiceMoveButtonsTest, FollowTheSelectedRowAsTheTableOfRowsSays) {
    struct Case {
        int row;
        bool up;
        bool down;
    };
    // Row -1: nothing selected; row 0: the title, which never moves; row 7: not a row.
    const Case cases[] = {{-1, false, false}, {0, false, false}, {1, false, true},
                          {2, true, true},    {3, true, true},   {4, true, true},
                          {5, true, true},    {6, true, false},  {7, false, false}};
    for (const Case& c : cases) {
        const InvoiceMoveButtons buttons = InvoiceMoveButtonsFor(c.row);
        EXPECT_EQ(buttons.up, c.up) << "row " << c.row;
        EXPECT_EQ(buttons.down, c.down) << "row " << c.row;
    }
}

TEST(InvoiceMoveButtonsTest, AnEnabledButtonAlwaysMovesAndADisabledOneNever) {
    for (int row = -2; row <= 8; ++row) {
        const InvoiceMoveButtons buttons = InvoiceMoveButtonsFor(row);
        EXPECT_EQ(buttons.up, InvoiceMoveTarget(row, InvoiceMoveDirection::Up) >= 0) << row;
        EXPECT_EQ(buttons.down, InvoiceMoveTarget(row, InvoiceMoveDirection::Down) >= 0) << row;
    }
}

TEST(InvoiceDisplayValueTest, ShowsTheTotalCostWithTwoDecimals) {
    EXPECT_EQ(InvoiceDisplayValue(kInvoiceTotalCost, "18.75"), "18.75");
    EXPECT_EQ(InvoiceDisplayValue(kInvoiceTotalCost, "12.5"), "12.50");
    EXPECT_EQ(InvoiceDisplayValue(kInvoiceTotalCost, "7"), "7.00");
    EXPECT_EQ(InvoiceDisplayValue(kInvoiceTotalCost, "3.14159"), "3.14");
    EXPECT_EQ(InvoiceDisplayValue(kInvoiceTotalCost, "0.005001"), "0.01");
    EXPECT_EQ(InvoiceDisplayValue(kInvoiceTotalCost, " 1e3"), "1000.00");
    EXPECT_EQ(InvoiceDisplayValue(kInvoiceTotalCost, "6.99 dollars"), "6.99");
}

TEST(InvoiceDisplayValueTest, ACostThatIsNoNumberShowsAsZero) {
    EXPECT_EQ(InvoiceDisplayValue(kInvoiceTotalCost, ""), "0.00");
    EXPECT_EQ(InvoiceDisplayValue(kInvoiceTotalCost, nullptr), "0.00");
    EXPECT_EQ(InvoiceDisplayValue(kInvoiceTotalCost, "cheap"), "0.00");
    EXPECT_EQ(InvoiceDisplayValue(kInvoiceTotalCost, "nan"), "0.00");
    EXPECT_EQ(InvoiceDisplayValue(kInvoiceTotalCost, "-0"), "0.00");
}

TEST(InvoiceDisplayValueTest, AHugeCostIsShownInFull) {
    const std::string huge = "1e300";
    const std::string shown = InvoiceDisplayValue(kInvoiceTotalCost, huge.c_str());
    ASSERT_EQ(shown.size(), 301u + 3u);
    EXPECT_EQ(shown.substr(0, 1), "1");
    EXPECT_EQ(shown.substr(shown.size() - 3), ".00");
}

TEST(InvoiceDisplayValueTest, OtherValuesAreShownAsStored) {
    EXPECT_EQ(InvoiceDisplayValue(kInvoiceDate, "2026-03-07"), "2026-03-07");
    EXPECT_EQ(InvoiceDisplayValue(kInvoiceJobName, "Letters, part 2"), "Letters, part 2");
    EXPECT_EQ(InvoiceDisplayValue(kInvoiceCharacters, "1250"), "1250");
    EXPECT_EQ(InvoiceDisplayValue(kInvoiceWords, "12.5"), "12.5");
    EXPECT_EQ(InvoiceDisplayValue(kInvoiceTitle, ""), "");
    EXPECT_EQ(InvoiceDisplayValue(kInvoiceLines, nullptr), "");
}

// The filter is a list of zero-ended strings closed by an empty one.
std::string FilterEntry(const char* filter, int index) {
    const char* p = filter;
    for (int i = 0; i < index; ++i) p += std::strlen(p) + 1;
    return p;
}

TEST(InvoiceFileKindTest, TabSeparatedAndCommaSeparatedFilesHaveTheirOwnTexts) {
    const InvoiceFileKind& tsv = InvoiceFileKindFor(true);
    EXPECT_STREQ(tsv.caption, "Create or Add to TSV File");
    EXPECT_STREQ(tsv.chooserTitle, "Locate TSV File");
    EXPECT_STREQ(tsv.extension, "tsv");
    EXPECT_STREQ(tsv.pathValueName, "TSVFilePath");
    EXPECT_EQ(FilterEntry(tsv.filter, 0), "TSV Files");
    EXPECT_EQ(FilterEntry(tsv.filter, 1), "*.tsv");
    EXPECT_EQ(FilterEntry(tsv.filter, 2), "");

    const InvoiceFileKind& csv = InvoiceFileKindFor(false);
    EXPECT_STREQ(csv.caption, "Create or Add to CSV File");
    EXPECT_STREQ(csv.chooserTitle, "Locate CSV File");
    EXPECT_STREQ(csv.extension, "csv");
    EXPECT_STREQ(csv.pathValueName, "CSVFilePath");
    EXPECT_EQ(FilterEntry(csv.filter, 0), "CSV Files");
    EXPECT_EQ(FilterEntry(csv.filter, 1), "*.csv");
    EXPECT_EQ(FilterEntry(csv.filter, 2), "");
}

}  // namespace
