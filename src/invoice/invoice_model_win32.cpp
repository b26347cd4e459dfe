#include "invoice/invoice_model_win32.h"

#include <ctime>
#include <string>

#include "settings/settings_store_win32.h"

namespace {

constexpr const char* kNameSection = "Invoice";
constexpr const char* kSettingsSection = "Settings";
constexpr const char* kOrderSection = "InvoiceOrder";
constexpr const char* kShowSection = "InvoiceShow";

// Our first-run marker, "Settings"/"InvoiceDefaultsStored" = "1": set once the default names
// and descriptions have been written. Without it the defaults would have to be written at every
// opening of the invoice dialog, which threw away a title or names the user had changed.
constexpr const char* kDefaultsMarker = "InvoiceDefaultsStored";

void ReadText(const char* section, const char* name, char (&out)[kSettingsTextSize]) {
    out[0] = '\0';
    if (*name == '\0') return;  // not a field: nothing is stored for it
    SettingsStore::ReadString(SettingsScope::PerUser, section, name, "", out);
}

void WriteText(const char* section, const char* name, const char* text) {
    if (*name == '\0') return;
    SettingsStore::WriteString(SettingsScope::PerUser, section, name, text != nullptr ? text : "");
}

}  // namespace

int InvoiceFieldAtPosition(int position) {
    if (!IsInvoiceField(position)) return -1;
    int stored = SettingsStore::ReadInt(SettingsScope::PerUser, kOrderSection,
                                        InvoiceDigitName(position), position);
    return InvoiceFieldOrDefault(stored, position);
}

void SetInvoiceFieldAtPosition(int position, int field) {
    if (!IsInvoiceField(position) || !IsInvoiceField(field)) return;
    SettingsStore::WriteInt(SettingsScope::PerUser, kOrderSection, InvoiceDigitName(position),
                            field);
}

bool IsInvoiceFieldShown(int field) {
    if (!IsInvoiceField(field)) return true;
    return SettingsStore::ReadBool(kShowSection, InvoiceDigitName(field), true);
}

void SetInvoiceFieldShown(int field, bool shown) {
    if (!IsInvoiceField(field)) return;
    SettingsStore::WriteBool(kShowSection, InvoiceDigitName(field), shown);
}

void ReadInvoiceColumnName(int field, char (&out)[kSettingsTextSize]) {
    ReadText(kNameSection, InvoiceFieldKeyName(field), out);
}

void ReadInvoiceDescription(int field, char (&out)[kSettingsTextSize]) {
    ReadText(kSettingsSection, InvoiceFieldKeyName(field), out);
}

void ReadInvoiceValue(int field, char (&out)[kSettingsTextSize]) {
    ReadText(kSettingsSection, InvoiceDigitName(field), out);
}

void WriteInvoiceColumnName(int field, const char* name) {
    WriteText(kNameSection, InvoiceFieldKeyName(field), name);
}

void WriteInvoiceValue(int field, const char* value) {
    WriteText(kSettingsSection, InvoiceDigitName(field), value);
}

void RestoreDefaultInvoiceFields() {
    for (int field = 0; field < kInvoiceFieldCount; ++field) {
        WriteText(kNameSection, InvoiceFieldKeyName(field), DefaultInvoiceColumnName(field));
        WriteText(kSettingsSection, InvoiceFieldKeyName(field), DefaultInvoiceDescription(field));
    }
}

bool EnsureInvoiceDefaults() {
    char marker[kSettingsTextSize];
    ReadText(kSettingsSection, kDefaultsMarker, marker);
    if (marker[0] != '\0') return false;
    RestoreDefaultInvoiceFields();
    WriteText(kSettingsSection, kDefaultsMarker, "1");
    return true;
}

int MoveInvoiceField(int position, InvoiceMoveDirection direction) {
    const int target = InvoiceMoveTarget(position, direction);
    if (target < 0) return -1;
    const int moving = InvoiceFieldAtPosition(position);
    SetInvoiceFieldAtPosition(position, InvoiceFieldAtPosition(target));
    SetInvoiceFieldAtPosition(target, moving);
    return target;
}

void StampInvoiceDate() {
    const std::time_t now = std::time(nullptr);
    // Only the GUI thread stamps dates, so the C library's shared result is safe here.
    const std::tm* local = now != static_cast<std::time_t>(-1) ? std::localtime(&now) : nullptr;
    std::string date;
    if (local != nullptr) date = FormatInvoiceDate(*local);
    WriteInvoiceValue(kInvoiceDate, date.c_str());
}
