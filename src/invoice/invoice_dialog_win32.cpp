#include "invoice/invoice_dialog_win32.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstddef>
#include <iterator>
#include <string>

#include "base/bounded_copy.h"
#include "base/paths.h"
#include "invoice/invoice_dialog_rules.h"
#include "invoice/invoice_model_win32.h"
#include "invoice/invoice_writer_win32.h"
#include "resource_ids.h"
#include "settings/help_topics_win32.h"
#include "settings/settings_store_win32.h"
#include "settings/system_checks_win32.h"
#include "ui/icon_button_win32.h"
#include "ui/list_view_win32.h"

namespace {

constexpr const char* kSettingsSection = "Settings";
constexpr const char* kJobNameDefault = "Typing Job";
constexpr ULONG_PTR kHelpTopic = 103;

constexpr int kUpIcon = 2;
constexpr int kDownIcon = 3;

// The chooser's parameter block in full (Windows 2000 and later) and as older systems know it:
// everything up to the template name (OPENFILENAME_SIZE_VERSION_400A).
constexpr DWORD kFullChooserSize = sizeof(OPENFILENAMEA);
constexpr DWORD kOldChooserSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
static_assert(sizeof(void*) != 4 || kFullChooserSize == 88, "full block of Windows 2000");
static_assert(sizeof(void*) != 4 || kOldChooserSize == 76, "block of older systems");

struct ListColumn {
    const char* title;
    int width;
};
constexpr ListColumn kColumns[] = {{"Column Name", 120}, {"Description", 170}, {"Data", 95}};

void InsertColumns(HWND list) {
    for (int index = 0; index < static_cast<int>(std::size(kColumns)); ++index) {
        LVCOLUMNA info = {};
        info.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        info.fmt = LVCFMT_LEFT;
        info.cx = kColumns[index].width;
        info.pszText = const_cast<char*>(kColumns[index].title);
        info.iSubItem = index;
        SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&info));
    }
}

void SetCellText(HWND list, int row, int column, const char* text) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}
}  // namespace

LPCSTR InvoiceDataDialog::Template() { return MAKEINTRESOURCEA(IDD_INVOICE_DIALOG); }

HWND InvoiceDataDialog::List() const { return GetDlgItem(window_, IDC_INVOICE_LIST); }

void InvoiceDataDialog::OnInit() {
    opening_ = true;
    HWND list = List();
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    InsertColumns(list);

    tabbed_ = SettingsStore::ReadBool(kSettingsSection, "Tabbed", true);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES);
    const InvoiceFileKind& kind = InvoiceFileKindFor(tabbed_);
    SetWindowTextA(window_, kind.caption);

    char text[kSettingsTextSize];
    SettingsStore::ReadString(SettingsScope::PerUser, kSettingsSection, kind.pathValueName, "",
                              text);
    SetDlgItemTextA(window_, IDC_INVOICE_PATH, text);
    SettingsStore::ReadString(SettingsScope::PerUser, kSettingsSection,
                              InvoiceDigitName(kInvoiceJobName), kJobNameDefault, text);
    // While opening, the job field's change notification does not refill the list: the list is
    // filled once, below, when the names are in place. The name is stored, so that the Job Name
    // row shows what the job field shows.
    SetDlgItemTextA(window_, IDC_INVOICE_JOB_NAME, text);
    WriteInvoiceValue(kInvoiceJobName, text);

    // Writes the default names and descriptions once, on a fresh store only: a title the user
    // renamed, and any names kept in the store, stay from one opening to the next.
    EnsureInvoiceDefaults();
    FillInvoiceList();

    const bool overwrite = SettingsStore::ReadBool(kSettingsSection, "Overwrite", true);
    CheckRadioButton(window_, IDC_INVOICE_OVERWRITE, IDC_INVOICE_APPEND,
                     overwrite ? IDC_INVOICE_OVERWRITE : IDC_INVOICE_APPEND);

    SetButtonIcon(*this, IDC_INVOICE_MOVE_UP, kUpIcon);
    SetButtonIcon(*this, IDC_INVOICE_MOVE_DOWN, kDownIcon);
    UpdateMoveButtons();
    opening_ = false;
}

void InvoiceDataDialog::FillInvoiceList() {
    HWND list = List();
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    for (int position = 0; position < kInvoiceFieldCount; ++position) {
        const int field = InvoiceFieldAtPosition(position);
        char text[kSettingsTextSize];
        ReadInvoiceColumnName(field, text);
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = position;
        item.pszText = text;
        item.lParam = field;
        const auto row = static_cast<int>(
            SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        if (row < 0) continue;
        ReadInvoiceDescription(field, text);
        SetCellText(list, row, 1, text);
        ReadInvoiceValue(field, text);
        SetCellText(list, row, 2, InvoiceDisplayValue(field, text).c_str());
        SetListViewItemChecked(list, row, IsInvoiceFieldShown(field));
    }
    StampInvoiceDate();
}

int InvoiceDataDialog::SelectedRow() const {
    return static_cast<int>(
        SendMessageA(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void InvoiceDataDialog::UpdateMoveButtons() {
    const InvoiceMoveButtons allowed = InvoiceMoveButtonsFor(SelectedRow());
    const auto follow = [this](int id, bool enabled) {
        HWND control = GetDlgItem(window_, id);
        if (enabled) {
            EnableWindow(control, TRUE);
        } else {
            DisableControl(*this, control);
        }
    };
    follow(IDC_INVOICE_MOVE_UP, allowed.up);
    follow(IDC_INVOICE_MOVE_DOWN, allowed.down);
}

void InvoiceDataDialog::MoveSelectedField(InvoiceMoveDirection direction) {
    const int target = MoveInvoiceField(SelectedRow(), direction);
    if (target < 0) return;
    FillInvoiceList();
    HWND list = List();
    SelectOnlyListViewItem(list, target);
    SendMessageA(list, LVM_ENSUREVISIBLE, target, FALSE);
}

void InvoiceDataDialog::OnCommand(WPARAM wParam, WORD /*notifyCode*/) {
    switch (LOWORD(wParam)) {
        case IDC_INVOICE_JOB_NAME: {
            if (opening_) return;
            char text[kSettingsTextSize];
            GetDlgItemTextA(window_, IDC_INVOICE_JOB_NAME, text, sizeof text);
            WriteInvoiceValue(kInvoiceJobName, text);
            FillInvoiceList();
            return;
        }
        case IDC_INVOICE_BROWSE:
            ChooseFile();
            return;
        case IDC_INVOICE_RESTORE:
            RestoreDefaultInvoiceFields();
            FillInvoiceList();
            return;
        case IDC_INVOICE_MOVE_UP:
            MoveSelectedField(InvoiceMoveDirection::Up);
            return;
        case IDC_INVOICE_MOVE_DOWN:
            MoveSelectedField(InvoiceMoveDirection::Down);
            return;
    }
}

void InvoiceDataDialog::ChooseFile() {
    const InvoiceFileKind& kind = InvoiceFileKindFor(tabbed_);
    char file[kPathSize] = {};
    GetDlgItemTextA(window_, IDC_INVOICE_PATH, file, sizeof file);

    // The per-user data folder is made sure of in any case; a path already given starts the
    // chooser in its own folder instead.
    char folder[kPathSize];
    UserDataFolder(folder);
    char current[kPathSize];
    PathDirectory(file, current);
    if (current[0] != '\0') CopyBounded(folder, current);

    OPENFILENAMEA chooser = {};
    chooser.lStructSize = IsWindows2000OrLater() ? kFullChooserSize : kOldChooserSize;
    chooser.hwndOwner = window_;
    chooser.lpstrFilter = kind.filter;
    chooser.nFilterIndex = 1;
    chooser.lpstrFile = file;
    chooser.nMaxFile = kPathSize - 1;
    chooser.lpstrInitialDir = folder;
    chooser.lpstrTitle = kind.chooserTitle;
    chooser.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_EXPLORER;
    chooser.lpstrDefExt = kind.extension;
    if (GetSaveFileNameA(&chooser)) {
        SetDlgItemTextA(window_, IDC_INVOICE_PATH, file);
    } else {
        MessageBoxA(nullptr, "Error in Path", "Folder Path not saved", MB_OK);
    }
}

void InvoiceDataDialog::EndLabelEdit(int row, const char* newText) {
    if (newText == nullptr) return;  // cancelled, or the text did not change
    // Only the title is renamed in place; it is the row that was edited that counts, so an
    // edit of another row never lands in the title, whichever rows are selected.
    if (row == 0) {
        char title[kSettingsTextSize];
        CopyBounded(title, newText);
        WriteInvoiceColumnName(kInvoiceTitle, title);
    }
    FillInvoiceList();
}

bool InvoiceDataDialog::ComesFromList(LPARAM source) const {
    auto sender = reinterpret_cast<HWND>(source);
    if (sender == nullptr) return false;
    HWND list = List();
    return sender == reinterpret_cast<HWND>(SendMessageA(list, LVM_GETEDITCONTROL, 0, 0)) ||
           GetParent(sender) == list;
}

bool InvoiceDataDialog::OnOk() {
    HWND list = List();
    for (int row = 0; row < kInvoiceFieldCount; ++row) {
        char text[kSettingsTextSize] = {};
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = row;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) continue;
        const auto field = static_cast<int>(item.lParam);
        char name[kSettingsTextSize];
        CopyBounded(name, item.pszText);
        SetInvoiceFieldAtPosition(row, field);
        WriteInvoiceColumnName(field, name);
        SetInvoiceFieldShown(field, ListViewItemChecked(list, row));
    }

    const bool overwrite = IsDlgButtonChecked(window_, IDC_INVOICE_OVERWRITE) == BST_CHECKED;
    SettingsStore::WriteBool(kSettingsSection, "Overwrite", overwrite);
    const bool showTitle = ListViewItemChecked(list, 0);
    SettingsStore::WriteBool(kSettingsSection, "ShowTittle", showTitle);

    char text[kSettingsTextSize];
    GetDlgItemTextA(window_, IDC_INVOICE_JOB_NAME, text, sizeof text);
    WriteInvoiceValue(kInvoiceJobName, text);

    char path[kPathSize];
    GetDlgItemTextA(window_, IDC_INVOICE_PATH, path, sizeof path);
    if (!InvoiceWriter(path, tabbed_, overwrite, showTitle)) {
        MessageBoxA(window_, "File Not Complete.", "Error", MB_OK | MB_ICONERROR);
        return false;
    }
    SettingsStore::WriteString(SettingsScope::PerUser, kSettingsSection,
                               InvoiceFileKindFor(tabbed_).pathValueName, path);
    MessageBoxA(window_, "File Updated.", "Confirmation", MB_OK | MB_ICONINFORMATION);
    return true;
}

void InvoiceDataDialog::OnHelp() { ShowHelpTopic(window_, HELP_CONTEXT, kHelpTopic); }

INT_PTR InvoiceDataDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header != nullptr && header->idFrom == IDC_INVOICE_LIST) {
            if (header->code == LVN_ENDLABELEDITA) {
                const auto* info = reinterpret_cast<const NMLVDISPINFOA*>(lParam);
                EndLabelEdit(info->item.iItem, info->item.pszText);
                // The list shows the stored names again; the control must not put the edited
                // text back on a row.
                SetMessageResult(FALSE);
                return TRUE;
            }
            if (header->code == LVN_ENDLABELEDITW) {
                const auto* info = reinterpret_cast<const NMLVDISPINFOW*>(lParam);
                const bool edited = info->item.pszText != nullptr;
                char text[kSettingsTextSize] = {};
                if (edited) {
                    WideCharToMultiByte(CP_ACP, 0, info->item.pszText, -1, text, sizeof text - 1,
                                        nullptr, nullptr);
                }
                EndLabelEdit(info->item.iItem, edited ? text : nullptr);
                SetMessageResult(FALSE);
                return TRUE;
            }
            UpdateMoveButtons();
        }
    } else if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) &&
               ComesFromList(lParam)) {
        // The in-place edit's own notifications carry id 1 (and Esc may bring 2): they must
        // neither close the dialog nor run the OK pass while a name is being edited.
        return TRUE;
    }
    return DialogBase::HandleMessage(message, wParam, lParam);
}
