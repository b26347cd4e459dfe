// The invoice fields and the bytes of the invoice file's lines.
#include "invoice/invoice_fields.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The default columns with a typical priced job, in the default order.
struct DefaultJob {
    InvoiceColumn columns[kInvoiceDataColumnCount] = {
        {"Date", "2026-03-07", true},        {"Job Name", "Typing Job", true},
        {"No. of Characters", "1250", true}, {"No. of Words", "214", true},
        {"No. of Lines", "19", true},        {"Total Cost", "18.75", true},
    };
};

std::string Row(std::initializer_list<std::string_view> cells, bool tabbed) {
    return BuildInvoiceRow(cells.begin(), static_cast<int>(cells.size()), tabbed);
}

TEST(InvoiceFields, DefaultsAndValueNamesOfTheSevenFields) {
    const char* names[] = {"Typing Invoice", "Date",         "Job Name",  "No. of Characters",
                           "No. of Words",   "No. of Lines", "Total Cost"};
    const char* descriptions[] = {
        "Tittle for Invoice",          "Date Added to Invoice", "Typing Job Name",
        "Total Number of Characters",  "Total Number of Words", "Total Number of Lines",
        "Total Cost of one Typing Job"};
    for (int field = 0; field < kInvoiceFieldCount; ++field) {
        SCOPED_TRACE(field);
        EXPECT_STREQ(DefaultInvoiceColumnName(field), names[field]);
        EXPECT_STREQ(DefaultInvoiceDescription(field), descriptions[field]);
        EXPECT_EQ(InvoiceFieldKeyName(field), "Field" + std::to_string(field));
        EXPECT_EQ(InvoiceDigitName(field), std::to_string(field));
    }
    for (int outside : {-1, 7, 100}) {
        EXPECT_STREQ(DefaultInvoiceColumnName(outside), "");
        EXPECT_STREQ(DefaultInvoiceDescription(outside), "");
        EXPECT_STREQ(InvoiceFieldKeyName(outside), "");
        EXPECT_STREQ(InvoiceDigitName(outside), "");
    }
}

TEST(InvoiceFields, StoredOrderOutsideTheFieldsReadsAsThePosition) {
    EXPECT_EQ(InvoiceFieldOrDefault(6, 1), 6);
    EXPECT_EQ(InvoiceFieldOrDefault(0, 0), 0);
    EXPECT_EQ(InvoiceFieldOrDefault(7, 3), 3);
    EXPECT_EQ(InvoiceFieldOrDefault(-1, 5), 5);
}

TEST(InvoiceFields, MovesStayAmongTheDataPositions) {
    using D = InvoiceMoveDirection;
    EXPECT_EQ(InvoiceMoveTarget(1, D::Up), -1);  // would pass the title
    EXPECT_EQ(InvoiceMoveTarget(1, D::Down), 2);
    EXPECT_EQ(InvoiceMoveTarget(2, D::Up), 1);
    EXPECT_EQ(InvoiceMoveTarget(5, D::Down), 6);
    EXPECT_EQ(InvoiceMoveTarget(6, D::Up), 5);
    EXPECT_EQ(InvoiceMoveTarget(6, D::Down), -1);
    for (int outside : {-1, 0, 7}) {
        EXPECT_EQ(InvoiceMoveTarget(outside, D::Up), -1);
        EXPECT_EQ(InvoiceMoveTarget(outside, D::Down), -1);
    }
}

TEST(InvoiceFields, DateIsYearMonthDayPaddedWithZeros) {
    std::tm time{};
    time.tm_year = 126;
    time.tm_mon = 2;
    time.tm_mday = 7;
    EXPECT_EQ(FormatInvoiceDate(time), "2026-03-07");
    time.tm_year = 999 - 1900;
    time.tm_mon = 11;
    time.tm_mday = 31;
    EXPECT_EQ(FormatInvoiceDate(time), "0999-12-31");
    time.tm_year = 2147483647;  // no overflow, whatever the broken-down time holds
    EXPECT_EQ(FormatInvoiceDate(time), "2147485547-12-31");
}

TEST(InvoiceLines, NewCsvFileWithDefaultColumnsAndTitle) {
    DefaultJob job;
    InvoiceLines lines = BuildInvoiceLines("Typing Invoice", true, job.columns, false);
    EXPECT_EQ(lines.title, "Typing Invoice\r\n");
    EXPECT_EQ(lines.header,
              "Date, Job Name, No. of Characters, No. of Words, No. of Lines, Total Cost,  \r\n");
    EXPECT_EQ(lines.record, "2026-03-07, Typing Job, 1250, 214, 19, 18.75,  \r\n");
}

TEST(InvoiceLines, NewTsvFileWithDefaultColumnsAndTitle) {
    DefaultJob job;
    InvoiceLines lines = BuildInvoiceLines("Typing Invoice", true, job.columns, true);
    EXPECT_EQ(lines.title, "Typing Invoice\r\n");
    EXPECT_EQ(lines.header,
              "Date \tJob Name \tNo. of Characters \tNo. of Words \tNo. of Lines \tTotal Cost \t"
              " \r\n");
    EXPECT_EQ(lines.record, "2026-03-07 \tTyping Job \t1250 \t214 \t19 \t18.75 \t \r\n");
}

TEST(InvoiceLines, HiddenTitleGivesNoTitleLine) {
    DefaultJob job;
    EXPECT_EQ(BuildInvoiceLines("Typing Invoice", false, job.columns, false).title, "");
    EXPECT_EQ(BuildInvoiceLines("Typing Invoice", false, job.columns, true).title, "");
}

TEST(InvoiceLines, AllColumnsHiddenLeaveBareLineEnds) {
    DefaultJob job;
    for (InvoiceColumn& column : job.columns) column.shown = false;
    for (bool tabbed : {false, true}) {
        InvoiceLines lines = BuildInvoiceLines("Typing Invoice", true, job.columns, tabbed);
        EXPECT_EQ(lines.title, "Typing Invoice\r\n");
        EXPECT_EQ(lines.header, " \r\n");
        EXPECT_EQ(lines.record, " \r\n");
    }
}

TEST(InvoiceLines, HiddenColumnInACustomOrderLeavesNoCell) {
    // Total Cost moved to the top, No. of Words hidden.
    InvoiceColumn columns[kInvoiceDataColumnCount] = {
        {"Total Cost", "18.75", true},  {"Date", "2026-03-07", true},
        {"Job Name", "Letters", true},  {"No. of Characters", "1250", true},
        {"No. of Words", "214", false}, {"No. of Lines", "19", true},
    };
    InvoiceLines csv = BuildInvoiceLines("", true, columns, false);
    EXPECT_EQ(csv.title, "\r\n");
    EXPECT_EQ(csv.header, "Total Cost, Date, Job Name, No. of Characters, No. of Lines,  \r\n");
    EXPECT_EQ(csv.record, "18.75, 2026-03-07, Letters, 1250, 19,  \r\n");
    InvoiceLines tsv = BuildInvoiceLines("", false, columns, true);
    EXPECT_EQ(tsv.header,
              "Total Cost \tDate \tJob Name \tNo. of Characters \tNo. of Lines \t \r\n");
    EXPECT_EQ(tsv.record, "18.75 \t2026-03-07 \tLetters \t1250 \t19 \t \r\n");
}

TEST(InvoiceLines, EmptyValuesGiveEmptyCells) {
    InvoiceColumn columns[kInvoiceDataColumnCount] = {
        {"Date", "", true}, {"Job Name", "", true}, {"", "", true},
        {"", "3", true},    {"", "", false},        {"Total Cost", "", true},
    };
    InvoiceLines lines = BuildInvoiceLines("T", true, columns, false);
    EXPECT_EQ(lines.header, "Date, Job Name, , , Total Cost,  \r\n");
    EXPECT_EQ(lines.record, ", , , 3, ,  \r\n");
}

TEST(InvoiceLines, LinesAreNotCutAtAnyLength) {
    const std::string longText(259, 'x');
    InvoiceColumn columns[kInvoiceDataColumnCount];
    for (InvoiceColumn& column : columns) {
        column.name = longText;
        column.value = longText;
    }
    for (bool tabbed : {false, true}) {
        InvoiceLines lines = BuildInvoiceLines(longText, true, columns, tabbed);
        std::string expected;
        for (int i = 0; i < kInvoiceDataColumnCount; ++i)
            expected += longText + (tabbed ? " \t" : ", ");
        expected += " \r\n";
        EXPECT_EQ(lines.header, expected);
        EXPECT_EQ(lines.record, expected);
        EXPECT_EQ(lines.record.size(), 6u * 261u + 3u);
        EXPECT_EQ(lines.title, longText + "\r\n");
    }
}

TEST(InvoiceQuoting, TriggersDependOnTheMode) {
    EXPECT_TRUE(InvoiceCellNeedsQuotes("Smith, John", false));
    EXPECT_FALSE(InvoiceCellNeedsQuotes("Smith, John", true));
    EXPECT_TRUE(InvoiceCellNeedsQuotes("Smith\tJohn", true));
    EXPECT_FALSE(InvoiceCellNeedsQuotes("Smith\tJohn", false));
    for (bool tabbed : {false, true}) {
        EXPECT_TRUE(InvoiceCellNeedsQuotes("5\" floppy", tabbed));
        EXPECT_TRUE(InvoiceCellNeedsQuotes("two\rlines", tabbed));
        EXPECT_TRUE(InvoiceCellNeedsQuotes("two\nlines", tabbed));
        EXPECT_FALSE(InvoiceCellNeedsQuotes("", tabbed));
        EXPECT_FALSE(InvoiceCellNeedsQuotes("Smith; John's 'notes' 12.50", tabbed));
    }
}

TEST(InvoiceQuoting, CsvQuotedCellFollowsTheCommaDirectly) {
    EXPECT_EQ(Row({"2026-03-07", "Smith, John", "1250"}, false),
              "2026-03-07,\"Smith, John\", 1250,  \r\n");
    // First and last cells.
    EXPECT_EQ(Row({"a,b", "c"}, false), "\"a,b\", c,  \r\n");
    EXPECT_EQ(Row({"c", "a,b"}, false), "c,\"a,b\",  \r\n");
    // Neighbouring quoted cells: neither separator keeps its space.
    EXPECT_EQ(Row({"x", "a,b", "\"q\"", "y"}, false), "x,\"a,b\",\"\"\"q\"\"\", y,  \r\n");
    // A single quoted cell.
    EXPECT_EQ(Row({"1,5"}, false), "\"1,5\",  \r\n");
    // Quotes are doubled, line breaks kept inside the quotes, a tab needs nothing in CSV.
    EXPECT_EQ(Row({"say \"hi\"", "two\r\nlines", "a\tb"}, false),
              "\"say \"\"hi\"\"\",\"two\r\nlines\", a\tb,  \r\n");
}

TEST(InvoiceQuoting, TsvQuotedCellDropsTheSpaceBeforeItsTab) {
    EXPECT_EQ(Row({"2026-03-07", "Smith\tJohn", "1250"}, true),
              "2026-03-07 \t\"Smith\tJohn\"\t1250 \t \r\n");
    EXPECT_EQ(Row({"\"q\"", "a\tb"}, true), "\"\"\"q\"\"\"\t\"a\tb\"\t \r\n");
    // A comma needs nothing in TSV.
    EXPECT_EQ(Row({"Smith, John", "x"}, true), "Smith, John \tx \t \r\n");
}

TEST(InvoiceQuoting, HeaderAndTitleAreQuotedByTheSameRule) {
    InvoiceColumn columns[kInvoiceDataColumnCount] = {
        {"Date", "2026-03-07", true},        {"Client, Job", "Smith, John", true},
        {"No. of Characters", "1250", true}, {"No. of Words", "214", false},
        {"No. of Lines", "19", false},       {"Total Cost", "18.75", true},
    };
    InvoiceLines lines = BuildInvoiceLines("Invoice, March", true, columns, false);
    EXPECT_EQ(lines.title, "\"Invoice, March\"\r\n");
    EXPECT_EQ(lines.header, "Date,\"Client, Job\", No. of Characters, Total Cost,  \r\n");
    EXPECT_EQ(lines.record, "2026-03-07,\"Smith, John\", 1250, 18.75,  \r\n");
    // In TSV the comma needs no quotes.
    EXPECT_EQ(BuildInvoiceLines("Invoice, March", true, columns, true).title, "Invoice, March\r\n");
    EXPECT_EQ(BuildInvoiceTitleLine("Invoice\tMarch", true), "\"Invoice\tMarch\"\r\n");
}

}  // namespace
