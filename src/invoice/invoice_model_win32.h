// The invoice column model in the settings store. Nothing is kept in memory: every call reads
// or writes the store at once.
//
// Stored layout (all per user, all text):
//   "Invoice"/"Field0".."Field6"   column name of field N (field 0: the title)
//   "Settings"/"Field0".."Field6"  description of field N
//   "Settings"/"0".."6"            value of field N
//   "InvoiceOrder"/"0".."6"        number of the field at position P ("%d"; missing: P)
//   "InvoiceShow"/"0".."6"         shown flag of field N ("1"/"0"; missing: shown)
//   "Settings"/"InvoiceDefaultsStored"  "1" once the default names and descriptions were
//                                  written by EnsureInvoiceDefaults
#pragma once

#include "invoice/invoice_fields.h"
#include "settings/settings_values.h"

// The field listed at a position 0..6 (a missing, empty or damaged entry: the position itself;
// -1 for a position outside 0..6).
int InvoiceFieldAtPosition(int position);
void SetInvoiceFieldAtPosition(int position, int field);

bool IsInvoiceFieldShown(int field);
void SetInvoiceFieldShown(int field, bool shown);

// The stored texts of a field, empty when missing.
void ReadInvoiceColumnName(int field, char (&out)[kSettingsTextSize]);
void ReadInvoiceDescription(int field, char (&out)[kSettingsTextSize]);
void ReadInvoiceValue(int field, char (&out)[kSettingsTextSize]);
void WriteInvoiceColumnName(int field, const char* name);
void WriteInvoiceValue(int field, const char* value);

// Writes the default column name and description of each field, 0 to 6, name before
// description. Order, shown flags and values stay as they are.
void RestoreDefaultInvoiceFields();

// Writes the default names and descriptions once, on a store that has never had them, so that
// a title, names or descriptions the user changed later survive the next opening of the dialog.
// Returns true when it wrote them.
bool EnsureInvoiceDefaults();

// Swaps the field at `position` with its neighbour above or below, when both positions are
// data positions (1..6). Returns the position the field moved to, or -1 when nothing moved.
int MoveInvoiceField(int position, InvoiceMoveDirection direction);

// Stores today's local date as the value of field 1 ("YYYY-MM-DD"; empty when the clock or the
// conversion fails).
void StampInvoiceDate();
