#include "invoice/invoice_fields.h"

#include <cstdio>

#include "counting/job_pricing.h"

namespace {

struct FieldDefaults {
    const char* columnName;
    const char* description;
};

// "Tittle" is the wording users have always seen in the dialog; it stays.
constexpr FieldDefaults kDefaults[kInvoiceFieldCount] = {
    {"Typing Invoice", "Tittle for Invoice"},
    {"Date", "Date Added to Invoice"},
    {"Job Name", "Typing Job Name"},
    {"No. of Characters", "Total Number of Characters"},
    {"No. of Words", "Total Number of Words"},
    {"No. of Lines", "Total Number of Lines"},
    {"Total Cost", "Total Cost of one Typing Job"},
};

constexpr const char* kKeyNames[kInvoiceFieldCount] = {"Field0", "Field1", "Field2", "Field3",
                                                       "Field4", "Field5", "Field6"};
// Fields 3 to 6 hold what the pricing publishes.
constexpr const char* kDigitNames[kInvoiceFieldCount] = {"0",
                                                         "1",
                                                         "2",
                                                         kPublishedCharactersName,
                                                         kPublishedWordsName,
                                                         kPublishedLinesName,
                                                         kPublishedTotalName};

void AppendCellText(std::string& line, std::string_view text, bool quoted) {
    if (!quoted) {
        line += text;
        return;
    }
    line += '"';
    for (char c : text) {
        if (c == '"') line += '"';
        line += c;
    }
    line += '"';
}

}  // namespace

const char* DefaultInvoiceColumnName(int field) {
    return IsInvoiceField(field) ? kDefaults[field].columnName : "";
}

const char* DefaultInvoiceDescription(int field) {
    return IsInvoiceField(field) ? kDefaults[field].description : "";
}

const char* InvoiceFieldKeyName(int field) { return IsInvoiceField(field) ? kKeyNames[field] : ""; }

const char* InvoiceDigitName(int number) {
    return IsInvoiceField(number) ? kDigitNames[number] : "";
}

int InvoiceFieldOrDefault(int storedField, int position) {
    return IsInvoiceField(storedField) ? storedField : position;
}

int InvoiceMoveTarget(int position, InvoiceMoveDirection direction) {
    if (position < kFirstDataPosition || position > kLastDataPosition) return -1;
    int target = direction == InvoiceMoveDirection::Up ? position - 1 : position + 1;
    if (target < kFirstDataPosition || target > kLastDataPosition) return -1;
    return target;
}

std::string FormatInvoiceDate(const std::tm& localTime) {
    // Widened so that no broken-down time, however odd, overflows the year sum.
    long long year = static_cast<long long>(localTime.tm_year) + 1900;
    long long month = static_cast<long long>(localTime.tm_mon) + 1;
    char text[64];
    std::snprintf(text, sizeof text, "%.4lld-%.2lld-%.2d", year, month, localTime.tm_mday);
    return text;
}

bool InvoiceCellNeedsQuotes(std::string_view text, bool tabbed) {
    return text.find_first_of(tabbed ? "\t\"\r\n" : ",\"\r\n") != std::string_view::npos;
}

// Cells are "text, " (CSV) or "text \t" (TSV), and each line ends in " \r\n". A cell that holds
// the separator, a quote or a line break would split or shift the row, so it is written as a
// quoted field instead, and only the bytes next to its quotes change:
// - CSV: the space after a comma belongs to the next cell for a reader, and a quote is only
//   taken as the start of a quoted field right after the comma. So the separator before a
//   quoted cell is "," alone; the quoted cell's own separator stays ", ".
// - TSV: the space before the tab belongs to the cell for a reader, and text after a closing
//   quote makes the field malformed for strict readers (spreadsheets glue it onto the cell).
//   So a quoted cell's own separator is "\t" alone, and the cell reads back as exactly its text.
// Rows without such a cell are byte for byte the plain format.
std::string BuildInvoiceRow(const std::string_view* cells, int count, bool tabbed) {
    std::string line;
    std::size_t size = 3;
    for (int i = 0; i < count; ++i) size += cells[i].size() + 4;
    line.reserve(size);

    bool quoted = count > 0 && InvoiceCellNeedsQuotes(cells[0], tabbed);
    for (int i = 0; i < count; ++i) {
        const bool nextQuoted = i + 1 < count && InvoiceCellNeedsQuotes(cells[i + 1], tabbed);
        AppendCellText(line, cells[i], quoted);
        if (tabbed) {
            line += quoted ? "\t" : " \t";
        } else {
            line += nextQuoted ? "," : ", ";
        }
        quoted = nextQuoted;
    }
    line += " \r\n";
    return line;
}

std::string BuildInvoiceTitleLine(std::string_view title, bool tabbed) {
    std::string line;
    AppendCellText(line, title, InvoiceCellNeedsQuotes(title, tabbed));
    line += "\r\n";
    return line;
}

InvoiceLines BuildInvoiceLines(std::string_view title, bool showTitle,
                               const InvoiceColumn (&columns)[kInvoiceDataColumnCount],
                               bool tabbed) {
    std::string_view names[kInvoiceDataColumnCount];
    std::string_view values[kInvoiceDataColumnCount];
    int count = 0;
    for (const InvoiceColumn& column : columns) {
        if (!column.shown) continue;
        names[count] = column.name;
        values[count] = column.value;
        ++count;
    }
    InvoiceLines lines;
    if (showTitle) lines.title = BuildInvoiceTitleLine(title, tabbed);
    lines.header = BuildInvoiceRow(names, count, tabbed);
    lines.record = BuildInvoiceRow(values, count, tabbed);
    return lines;
}
