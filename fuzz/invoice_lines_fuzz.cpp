// Invoice lines from arbitrary cell texts: a strict RFC 4180 reader must get every cell back,
// and rows that need no quotes must be exactly the plain "text, " / "text \t" format.
#include "invoice/invoice_fields.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// Reads one line (its final "\r\n" removed) into fields. Strict: a quoted field must be
// followed by the separator or the end, and an unquoted field holds no quote and no line break.
bool ReadRfc4180Line(std::string_view line, char separator, std::vector<std::string>& fields) {
    fields.clear();
    std::size_t i = 0;
    while (true) {
        std::string field;
        if (i < line.size() && line[i] == '"') {
            ++i;
            while (true) {
                if (i >= line.size()) return false;  // no closing quote
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line[i++];
            }
            if (i < line.size() && line[i] != separator) return false;
        } else {
            while (i < line.size() && line[i] != separator) {
                char c = line[i++];
                if (c == '"' || c == '\r' || c == '\n') return false;
                field += c;
            }
        }
        fields.push_back(field);
        if (i >= line.size()) return true;
        ++i;  // the separator
    }
}

bool EndsWith(const std::string& text, std::string_view end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

void CheckRow(const std::vector<std::string_view>& cells, bool tabbed) {
    const std::string line = BuildInvoiceRow(cells.data(), static_cast<int>(cells.size()), tabbed);
    Check(EndsWith(line, " \r\n"));

    std::vector<std::string> fields;
    const char separator = tabbed ? '\t' : ',';
    Check(ReadRfc4180Line(std::string_view(line).substr(0, line.size() - 2), separator, fields));

    // What a reader sees: in CSV the space after a comma leads the next plain cell; in TSV the
    // space before a tab ends a plain cell; quoted cells read as their text; the line end leaves
    // one more field of spaces.
    std::vector<std::string> expected;
    bool anyQuoted = false;
    std::string plain;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const bool quoted = InvoiceCellNeedsQuotes(cells[i], tabbed);
        anyQuoted = anyQuoted || quoted;
        std::string cell(cells[i]);
        if (!quoted) cell = tabbed ? cell + " " : (i > 0 ? " " + cell : cell);
        expected.push_back(cell);
        plain.append(cells[i].data(), cells[i].size());
        plain += tabbed ? " \t" : ", ";
    }
    plain += " \r\n";
    if (tabbed) {
        expected.push_back(" ");
    } else {
        expected.push_back(cells.empty() ? " " : "  ");
    }
    Check(fields == expected);
    if (!anyQuoted) Check(line == plain);
}

void CheckTitle(std::string_view title, bool tabbed) {
    const std::string line = BuildInvoiceTitleLine(title, tabbed);
    Check(EndsWith(line, "\r\n"));
    std::vector<std::string> fields;
    Check(ReadRfc4180Line(std::string_view(line).substr(0, line.size() - 2), tabbed ? '\t' : ',',
                          fields));
    Check(fields.size() == 1 && fields[0] == title);
}

}  // namespace

// Input: one byte of flags (bit 0: tabbed), then the cell texts separated by zero bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool tabbed = (data[0] & 1) != 0;
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    std::vector<std::string_view> cells;
    while (!rest.empty() && cells.size() < 32) {
        std::size_t end = rest.find('\0');
        cells.push_back(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    CheckRow(cells, tabbed);
    if (!cells.empty()) CheckTitle(cells[0], tabbed);

    // The same texts as the six data columns, some hidden by the flags' upper bits.
    InvoiceColumn columns[kInvoiceDataColumnCount];
    std::vector<std::string_view> shownNames;
    for (int i = 0; i < kInvoiceDataColumnCount; ++i) {
        std::string_view text = i < static_cast<int>(cells.size()) ? cells[i] : std::string_view();
        columns[i].name = text;
        columns[i].value = text;
        columns[i].shown = ((data[0] >> (i + 1)) & 1) == 0;
        if (columns[i].shown) shownNames.push_back(text);
    }
    const InvoiceLines lines = BuildInvoiceLines("Typing Invoice", true, columns, tabbed);
    Check(lines.header == lines.record);
    Check(lines.header ==
          BuildInvoiceRow(shownNames.data(), static_cast<int>(shownNames.size()), tabbed));
    Check(lines.title == "Typing Invoice\r\n");
    return 0;
}
