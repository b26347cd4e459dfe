#include "invoice/invoice_dialog_rules.h"

#include "counting/job_pricing.h"
#include "invoice/invoice_fields.h"

namespace {

// Each kind keeps its own path, so switching the separator setting never points a TSV record
// at a CSV file or the other way round.
constexpr InvoiceFileKind kTabSeparated = {"Create or Add to TSV File", "Locate TSV File",
                                           "TSV Files\0*.tsv\0", "tsv", "TSVFilePath"};
constexpr InvoiceFileKind kCommaSeparated = {"Create or Add to CSV File", "Locate CSV File",
                                             "CSV Files\0*.csv\0", "csv", "CSVFilePath"};

}  // namespace

InvoiceMoveButtons InvoiceMoveButtonsFor(int selectedRow) {
    return {InvoiceMoveTarget(selectedRow, InvoiceMoveDirection::Up) >= 0,
            InvoiceMoveTarget(selectedRow, InvoiceMoveDirection::Down) >= 0};
}

std::string InvoiceDisplayValue(int field, const char* storedValue) {
    const std::string stored = storedValue != nullptr ? storedValue : "";
    if (field != kInvoiceTotalCost) return stored;
    return FormatAmount(ReadAtofDecimal(stored));
}

const InvoiceFileKind& InvoiceFileKindFor(bool tabbed) {
    return tabbed ? kTabSeparated : kCommaSeparated;
}
