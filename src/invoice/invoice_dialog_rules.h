// Rules of the invoice data settings dialog that need no window. Platform-free.
#pragma once

#include <string>

// Which of the two move buttons the selected row of the field list allows. The rows are the
// positions of the column order, so a button is enabled exactly when its move would happen:
// nothing selected (row -1) or the title row disables both, the first data row cannot go up
// and the last cannot go down.
struct InvoiceMoveButtons {
    bool up = false;
    bool down = false;
};
InvoiceMoveButtons InvoiceMoveButtonsFor(int selectedRow);

// The text of the list's "Data" column for a field's stored value: the total cost is read as a
// number and shown with two decimals ("12.5" shows 12.50, text that is no number 0.00); every
// other value is shown as stored.
std::string InvoiceDisplayValue(int field, const char* storedValue);

// The texts that differ between the tab-separated and the comma-separated invoice file.
struct InvoiceFileKind {
    const char* caption;        // the dialog's caption
    const char* chooserTitle;   // the save-file dialog's title
    const char* filter;         // one "name\0pattern\0" pair and the closing zero
    const char* extension;      // default extension, without the dot
    const char* pathValueName;  // "Settings" value that keeps this kind's file path
};
const InvoiceFileKind& InvoiceFileKindFor(bool tabbed);
