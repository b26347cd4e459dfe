// The seven invoice fields and the text of the invoice file's lines. Platform-free.
//
// Field 0 is the invoice title; fields 1 to 6 are the data columns (date, job name, the three
// counts, the total cost). Positions 1 to 6 of the column order hold the data columns; position
// 0 always holds the title.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

enum InvoiceField : int {
    kInvoiceTitle = 0,
    kInvoiceDate = 1,
    kInvoiceJobName = 2,
    kInvoiceCharacters = 3,
    kInvoiceWords = 4,
    kInvoiceLines = 5,
    kInvoiceTotalCost = 6,
};

constexpr int kInvoiceFieldCount = 7;
constexpr int kInvoiceDataColumnCount = 6;
constexpr int kFirstDataPosition = 1;
constexpr int kLastDataPosition = 6;

inline bool IsInvoiceField(int field) { return field >= 0 && field < kInvoiceFieldCount; }

// Default column name (for field 0 the title) and description; empty for a number out of range.
const char* DefaultInvoiceColumnName(int field);
const char* DefaultInvoiceDescription(int field);

// "Field0" ... "Field6": the value name of a field's column name (section "Invoice") and of its
// description (section "Settings"). Empty for a number out of range.
const char* InvoiceFieldKeyName(int field);

// "0" ... "6": the value name of a field's value ("Settings"), of its shown flag ("InvoiceShow",
// by field number) and of a position in the order ("InvoiceOrder", by position). Empty for a
// number out of range.
const char* InvoiceDigitName(int number);

// The field listed at a position, as read back from the stored order: a stored number that is
// not a field (a damaged store) reads as the position itself, like a missing one.
int InvoiceFieldOrDefault(int storedField, int position);

enum class InvoiceMoveDirection { Up, Down };

// The position a field at `position` moves to, or -1 when the move is not allowed: both ends of
// a move must lie among the data positions 1..6, so nothing passes the title.
int InvoiceMoveTarget(int position, InvoiceMoveDirection direction);

// The stamped date: "%.4d-%.2d-%.2d" of the calendar year, month 1..12 and day of the month.
std::string FormatInvoiceDate(const std::tm& localTime);

// One data column as the writer sees it, in column order.
struct InvoiceColumn {
    std::string_view name;   // heading in the header line
    std::string_view value;  // cell of the record line
    bool shown = true;
};

// The three lines of a file started by the writer. Each already ends in its line end; the title
// line is empty when the title is not shown.
struct InvoiceLines {
    std::string title;
    std::string header;
    std::string record;
};

// Whether a cell's text must be written as a quoted field: it holds the separator of its mode
// (a comma in CSV, a tab in TSV), a double quote, a CR or an LF.
bool InvoiceCellNeedsQuotes(std::string_view text, bool tabbed);

// One header or record line of the given cells: each cell followed by its separator (", " in
// CSV, " \t" in TSV), then " \r\n". Cells that need quotes are written RFC 4180 style.
std::string BuildInvoiceRow(const std::string_view* cells, int count, bool tabbed);

// The title line: the title followed by "\r\n" (quoted when it needs it, never a separator).
std::string BuildInvoiceTitleLine(std::string_view title, bool tabbed);

// Whether an existing file whose last byte is `lastByte` already ends its last line; a line
// appended after any other byte first gets "\r\n" so it is not glued onto that line.
inline bool EndsInvoiceLine(char lastByte) { return lastByte == '\n' || lastByte == '\r'; }

// Title, header and record lines from the six data columns in order; hidden columns leave
// neither a heading nor a cell.
InvoiceLines BuildInvoiceLines(std::string_view title, bool showTitle,
                               const InvoiceColumn (&columns)[kInvoiceDataColumnCount],
                               bool tabbed);
