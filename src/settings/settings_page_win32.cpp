#include "settings/settings_page_win32.h"

#include <cstdio>

#include "hotkey/hotkey_names_win32.h"
#include "hotkey/key_change_dialog_win32.h"
#include "hotkey/program_hotkey_win32.h"
#include "resource_ids.h"
#include "settings/help_topics_win32.h"
#include "settings/run_at_logon.h"
#include "settings/run_at_logon_win32.h"
#include "settings/settings_store_win32.h"

namespace {

constexpr int kSettingsHelpTopic = 101;
const char* const kRunEntries[] = {"Run when any user logs on", "Run when this user logs on only"};

bool ReadSetting(const char* name, bool defaultValue) {
    return SettingsStore::ReadBool("Settings", name, defaultValue);
}

// True when the value was written or deleted as planned.
bool ApplyRunValue(SettingsScope scope, RunValueAction action, const char* programPath) {
    if (action == RunValueAction::Write) return WriteRunValue(scope, programPath);
    DeleteRunValue(scope);
    return true;
}

}  // namespace

HotKeyCode StoredHotKey() {
    return static_cast<HotKeyCode>(SettingsStore::ReadInt(
        SettingsScope::PerUser, "Settings", "HotKeyValue", static_cast<int>(kDefaultHotKey)));
}

void SettingsPage::OnInit() {
    CheckDlgButton(window_, IDC_SETTINGS_HOTKEY_ON,
                   ReadSetting("HotKeysOn", true) ? BST_CHECKED : BST_UNCHECKED);
    ShowHotKeyName(StoredHotKey());

    const bool tabbed = ReadSetting("Tabbed", true);
    CheckDlgButton(window_, IDC_SETTINGS_COMMA, tabbed ? BST_UNCHECKED : BST_CHECKED);
    CheckDlgButton(window_, IDC_SETTINGS_TABBED, tabbed ? BST_CHECKED : BST_UNCHECKED);

    const bool machineValue = RunValueExists(SettingsScope::MachineWide);
    const bool userValue = RunValueExists(SettingsScope::PerUser);
    CheckDlgButton(window_, IDC_SETTINGS_RUN_AT_LOGON,
                   machineValue || userValue ? BST_CHECKED : BST_UNCHECKED);
    for (const char* entry : kRunEntries) {
        SendDlgItemMessageA(window_, IDC_SETTINGS_RUN_FOR, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(entry));
    }
    SendDlgItemMessageA(window_, IDC_SETTINGS_RUN_FOR, CB_SETCURSEL,
                        RunEntryToSelect(machineValue, userValue), 0);

    CheckRadioButton(
        window_, IDC_SETTINGS_COUNT_SELECTED, IDC_SETTINGS_SELECT_ALL,
        ReadSetting("Automate", false) ? IDC_SETTINGS_SELECT_ALL : IDC_SETTINGS_COUNT_SELECTED);
}

void SettingsPage::UpdateControls() {
    EnableControl(IDC_SETTINGS_RUN_FOR, Checked(IDC_SETTINGS_RUN_AT_LOGON));
    const bool hotKeyOn = Checked(IDC_SETTINGS_HOTKEY_ON);
    for (int id : {IDC_SETTINGS_WHEN_LABEL, IDC_SETTINGS_COUNT_SELECTED, IDC_SETTINGS_SELECT_ALL}) {
        EnableControl(id, hotKeyOn);
    }
}

void SettingsPage::OnCommand(WPARAM wParam, WORD) {
    if (LOWORD(wParam) == IDC_SETTINGS_CHANGE_KEY) ChangeKey();
}

bool SettingsPage::OnOk() {
    SettingsStore::WriteBool("Settings", "Automate", Checked(IDC_SETTINGS_SELECT_ALL));
    SettingsStore::WriteBool("Settings", "HotKeysOn", Checked(IDC_SETTINGS_HOTKEY_ON));
    SettingsStore::WriteBool("Settings", "Tabbed", !Checked(IDC_SETTINGS_COMMA));

    // The running module's own file: the command line may name the program relatively.
    char programPath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, programPath, sizeof programPath - 1);
    const int entry =
        static_cast<int>(SendDlgItemMessageA(window_, IDC_SETTINGS_RUN_FOR, CB_GETCURSEL, 0, 0));
    const RunValuePlan plan = PlanRunValues(Checked(IDC_SETTINGS_RUN_AT_LOGON), entry);
    const bool machineDone =
        ApplyRunValue(SettingsScope::MachineWide, plan.machineWide, programPath);
    if (!plan.perUserNeedsMachineWrite || machineDone) {
        ApplyRunValue(SettingsScope::PerUser, plan.perUser, programPath);
    }
    return true;
}

void SettingsPage::OnHelp() { ShowHelpTopic(window_, HELP_CONTEXT, kSettingsHelpTopic); }

void SettingsPage::ChangeKey() {
    HotKeyCode chosen = 0;
    {
        HotKeySuspension suspension(hotKey_);
        KeyChangeDialog dialog(chosen);
        RunModelessLoop(dialog, KeyChangeDialog::Template(), window_);
    }
    if (chosen == 0 || window_ == nullptr) return;
    ShowHotKeyName(chosen);
    SettingsStore::WriteInt(SettingsScope::PerUser, "Settings", "HotKeyValue",
                            static_cast<int>(chosen));
}

void SettingsPage::ShowHotKeyName(unsigned code) {
    char name[kHotKeyNameSize];
    FormatHotKeyName(code, name);
    char label[kHotKeyNameSize + 32];
    std::snprintf(label, sizeof label, "Enable Hot Key Control  [%s]", name);
    SetDlgItemTextA(window_, IDC_SETTINGS_HOTKEY_ON, label);
}

bool SettingsPage::Checked(int controlId) const {
    return IsDlgButtonChecked(window_, controlId) == BST_CHECKED;
}

void SettingsPage::EnableControl(int controlId, bool enable) {
    HWND control = GetDlgItem(window_, controlId);
    if (enable) {
        EnableWindow(control, TRUE);
    } else {
        DisableControl(*this, control);
    }
}

bool SettingsSheet(HWND owner, ProgramHotKey* hotKey) {
    SettingsPage page(hotKey);
    PropertySheetPages pages;
    pages.Add(page, MAKEINTRESOURCEA(IDD_SETTINGS_PAGE), PSP_HASHELP);

    PROPSHEETHEADERA header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_USEICONID | PSH_NOAPPLYNOW;
    header.hwndParent = owner;
    header.hInstance = ProgramInstance();
    header.pszIcon = MAKEINTRESOURCEA(IDI_PROGRAM);
    header.pszCaption = "Settings";
    header.nStartPage = 0;
    pages.AttachTo(header);
    return PropertySheetA(&header) == 1;
}
