// The invoice data settings dialog, run modally from its real template against Wine's registry
// and real files. Each test drives the dialog from inside its own modal loop with a message
// script (list-view messages, commands, in-place edits), answers the message boxes it shows,
// and then checks the store and the bytes of the invoice file.
#include "invoice/invoice_dialog_win32.h"

#include <commctrl.h>
#include <shlwapi.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <iterator>
#include <string>
#include <vector>

#include "invoice/invoice_fields.h"
#include "invoice/invoice_model_win32.h"
#include "resource_ids.h"
#include "settings/system_checks_win32.h"
#include "win32/support/file_bytes_win32.h"
#include "win32/support/message_script.h"
#include "win32/support/product_settings_win32.h"
#include "win32/support/thread_dialogs_win32.h"
#include "win32/support/watchdog_win32.h"

namespace {

constexpr const char* kDefaultNames[kInvoiceFieldCount] = {
    "Typing Invoice", "Date",         "Job Name",  "No. of Characters",
    "No. of Words",   "No. of Lines", "Total Cost"};

std::string Today() {
    std::time_t now = std::time(nullptr);
    return FormatInvoiceDate(*std::localtime(&now));
}

// A message box's text is its longest static text; its icon sits in an icon static.
struct BoxContent {
    std::string text;
    HICON icon = nullptr;
};

BOOL CALLBACK ReadBoxChild(HWND child, LPARAM parameter) {
    auto* content = reinterpret_cast<BoxContent*>(parameter);
    if (lstrcmpiA(ClassName(child).c_str(), "Static") != 0) return TRUE;
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        content->icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        return TRUE;
    }
    const std::string text = WindowText(child);
    if (text.size() > content->text.size()) content->text = text;
    return TRUE;
}

BoxContent ReadBox(HWND box) {
    BoxContent content;
    EnumChildWindows(box, &ReadBoxChild, reinterpret_cast<LPARAM>(&content));
    return content;
}

// Closes every dialog of this thread other than `keep` (message boxes, the file chooser).
BOOL CALLBACK CloseOtherDialog(HWND window, LPARAM keep) {
    if (window != reinterpret_cast<HWND>(keep) && ClassName(window) == "#32770") {
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
    return TRUE;
}

class InvoiceDialogTest : public testing::Test {
  protected:
    void SetUp() override {
        SHDeleteKeyA(HKEY_CURRENT_USER, kProductKey);
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        folder_ = std::string(temp) + "qm-invoice-dialog-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder_.c_str(), nullptr);
    }

    void TearDown() override {
        SHDeleteKeyA(HKEY_CURRENT_USER, kProductKey);
        for (const std::string& name : created_) DeleteFileA(name.c_str());
        RemoveDirectoryA(folder_.c_str());
    }

    std::string FilePath(const char* name) {
        std::string path = folder_ + "\\" + name;
        created_.push_back(path);
        return path;
    }

    // Runs the dialog modally while the script's steps run inside its loop. The script always
    // ends with the dialog closed: a failed wait closes whatever is open.
    bool RunDialog(MessageScript& script) {
        Watchdog watchdog;
        InvoiceDataDialog dialog;
        dialog_ = &dialog;
        window_ = nullptr;
        script.Rescue([this] {
            EnumThreadWindows(GetCurrentThreadId(), &CloseOtherDialog,
                              reinterpret_cast<LPARAM>(Dialog()));
            if (Dialog() != nullptr) EndDialog(Dialog(), 0);
        });
        script.Start();
        const bool confirmed = RunModal(dialog, nullptr, InvoiceDataDialog::Template());
        script.Stop();
        EXPECT_TRUE(script.Completed());
        dialog_ = nullptr;
        return confirmed;
    }

    // The dialog's window while it runs (kept once seen: the object forgets it at the end).
    HWND Dialog() {
        if (dialog_ != nullptr && dialog_->Window() != nullptr) window_ = dialog_->Window();
        return window_;
    }
    HWND Control(int id) { return GetDlgItem(Dialog(), id); }
    HWND List() { return Control(IDC_INVOICE_LIST); }
    bool DialogOpen() { return dialog_ != nullptr && dialog_->Window() != nullptr; }

    int RowCount() { return static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0)); }

    std::string Cell(int row, int column) {
        char text[512] = {};
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(List(), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        return text;
    }
    std::vector<std::string> Column(int column) {
        std::vector<std::string> texts;
        for (int row = 0; row < RowCount(); ++row) texts.push_back(Cell(row, column));
        return texts;
    }

    LPARAM ItemData(int row) {
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        SendMessageA(List(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return item.lParam;
    }

    UINT State(int row, UINT mask) {
        return static_cast<UINT>(SendMessageA(List(), LVM_GETITEMSTATE, row, mask));
    }
    bool Checked(int row) { return (State(row, LVIS_STATEIMAGEMASK) >> 12) == 2; }
    void SetState(int row, UINT state, UINT mask) {
        LVITEMA item = {};
        item.state = state;
        item.stateMask = mask;
        SendMessageA(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
    }
    void SetChecked(int row, bool checked) {
        SetState(row, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1), LVIS_STATEIMAGEMASK);
    }
    void Select(int row) {
        SetState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        if (row >= 0) SetState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    std::vector<int> SelectedRows() {
        std::vector<int> rows;
        for (int row = 0; row < RowCount(); ++row) {
            if (State(row, LVIS_SELECTED) != 0) rows.push_back(row);
        }
        return rows;
    }

    // A click on a button as the button itself reports it.
    void Click(int id) {
        SendMessageA(Dialog(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(Control(id)));
    }
    bool Enabled(int id) { return IsWindowEnabled(Control(id)) != FALSE; }

    void SetText(int id, const char* text) { SetDlgItemTextA(Dialog(), id, text); }
    std::string Text(int id) { return WindowText(Control(id)); }

    // Starts the list's in-place edit of a row's name and types the new text into it.
    HWND EditName(int row, const char* text) {
        SetFocus(List());
        auto edit = reinterpret_cast<HWND>(SendMessageA(List(), LVM_EDITLABELA, row, 0));
        if (edit != nullptr) SetWindowTextA(edit, text);
        return edit;
    }
    // Ends the edit as the user does: Enter keeps the text, Esc drops it.
    void EndEdit(HWND edit, bool keep) {
        SendMessageA(edit, WM_KEYDOWN, keep ? VK_RETURN : VK_ESCAPE, 0);
    }
    HWND EditControl() {
        return reinterpret_cast<HWND>(SendMessageA(List(), LVM_GETEDITCONTROL, 0, 0));
    }

    // Steps that press a button that shows a message box, check the box and answer it. When
    // answering closes the dialog too, the script ends there (RunModal returns).
    void PressAndAnswer(MessageScript& script, int buttonId, const char* caption,
                        BoxContent* content, HWND* owner = nullptr, bool closesDialog = false) {
        script.Do([this, buttonId] { PostMessageA(Dialog(), WM_COMMAND, buttonId, 0); })
            .WaitFor(std::string("message box ") + caption,
                     [this, caption] { return FindThreadDialog(caption, Dialog()) != nullptr; })
            .Do([this, caption, content, owner] {
                HWND box = FindThreadDialog(caption, Dialog());
                *content = ReadBox(box);
                if (owner != nullptr) *owner = GetWindow(box, GW_OWNER);
                PostMessageA(box, WM_COMMAND, IDOK, 0);
            });
        if (closesDialog) return;
        script.WaitFor(std::string("message box ") + caption + " to close",
                       [this, caption] { return FindThreadDialog(caption, Dialog()) == nullptr; });
    }
    // Steps that press OK and confirm the "File Updated." message; the dialog then closes.
    void ConfirmOk(MessageScript& script) {
        PressAndAnswer(script, IDOK, "Confirmation", &confirmation_, nullptr, true);
    }
    void Cancel(MessageScript& script) {
        script.Do([this] { PostMessageA(Dialog(), WM_COMMAND, IDCANCEL, 0); });
    }

    InvoiceDataDialog* dialog_ = nullptr;
    HWND window_ = nullptr;
    BoxContent confirmation_;
    std::string folder_;
    std::vector<std::string> created_;
};

// ---- Opening -------------------------------------------------------------------------------

TEST_F(InvoiceDialogTest, AFreshStoreShowsTheSevenDefaultRowsAllShown) {
    std::vector<std::string> names, descriptions, data;
    std::vector<LPARAM> fields;
    std::vector<bool> checked;
    std::string caption, job, path;
    bool overwrite = false, append = true, upEnabled = true, downEnabled = true;
    MessageScript script;
    script.Do([&] {
        caption = WindowText(Dialog());
        names = Column(0);
        descriptions = Column(1);
        data = Column(2);
        for (int row = 0; row < RowCount(); ++row) {
            fields.push_back(ItemData(row));
            checked.push_back(Checked(row));
        }
        job = Text(IDC_INVOICE_JOB_NAME);
        path = Text(IDC_INVOICE_PATH);
        overwrite = IsDlgButtonChecked(Dialog(), IDC_INVOICE_OVERWRITE) == BST_CHECKED;
        append = IsDlgButtonChecked(Dialog(), IDC_INVOICE_APPEND) == BST_CHECKED;
        upEnabled = Enabled(IDC_INVOICE_MOVE_UP);
        downEnabled = Enabled(IDC_INVOICE_MOVE_DOWN);
    });
    Cancel(script);
    EXPECT_FALSE(RunDialog(script));

    EXPECT_EQ(caption, "Create or Add to TSV File");
    EXPECT_EQ(names, std::vector<std::string>(std::begin(kDefaultNames), std::end(kDefaultNames)));
    EXPECT_EQ(descriptions, (std::vector<std::string>{
                                "Tittle for Invoice", "Date Added to Invoice", "Typing Job Name",
                                "Total Number of Characters", "Total Number of Words",
                                "Total Number of Lines", "Total Cost of one Typing Job"}));
    EXPECT_EQ(fields, (std::vector<LPARAM>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(checked, std::vector<bool>(7, true));
    // Nothing priced yet; the date is stamped at the end of the first refill, after it was shown;
    // the job row shows the name in the job field.
    EXPECT_EQ(data, (std::vector<std::string>{"", "", "Typing Job", "", "", "", "0.00"}));
    EXPECT_EQ(ReadStored("Settings", "1"), Today());
    EXPECT_EQ(job, "Typing Job");
    EXPECT_EQ(path, "");
    EXPECT_TRUE(overwrite);
    EXPECT_FALSE(append);
    EXPECT_FALSE(upEnabled);
    EXPECT_FALSE(downEnabled);
    // The defaults went to the store with our first-run marker.
    EXPECT_EQ(ReadStored("Invoice", "Field0"), "Typing Invoice");
    EXPECT_EQ(ReadStored("Settings", "Field6"), "Total Cost of one Typing Job");
    EXPECT_EQ(ReadStored("Settings", "InvoiceDefaultsStored"), "1");
}

TEST_F(InvoiceDialogTest, TheTemplateHasTheListAndButtonsTheDialogNeeds) {
    LONG_PTR listStyle = 0;
    LRESULT extended = 0;
    std::vector<std::string> headings;
    std::vector<int> widths;
    LONG_PTR upStyle = 0, downStyle = 0;
    HANDLE upImage = nullptr, downImage = nullptr;
    std::string templateCaption;
    MessageScript script;
    script.Do([&] {
        listStyle = GetWindowLongPtrA(List(), GWL_STYLE);
        extended = SendMessageA(List(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
        for (int column = 0; column < 4; ++column) {
            char text[64] = {};
            LVCOLUMNA info = {};
            info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            info.pszText = text;
            info.cchTextMax = sizeof text;
            if (!SendMessageA(List(), LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&info))) {
                break;
            }
            EXPECT_EQ(info.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
            headings.push_back(text);
            widths.push_back(info.cx);
        }
        upStyle = GetWindowLongPtrA(Control(IDC_INVOICE_MOVE_UP), GWL_STYLE);
        downStyle = GetWindowLongPtrA(Control(IDC_INVOICE_MOVE_DOWN), GWL_STYLE);
        upImage = reinterpret_cast<HANDLE>(
            SendMessageA(Control(IDC_INVOICE_MOVE_UP), BM_GETIMAGE, IMAGE_ICON, 0));
        downImage = reinterpret_cast<HANDLE>(
            SendMessageA(Control(IDC_INVOICE_MOVE_DOWN), BM_GETIMAGE, IMAGE_ICON, 0));
        for (int id :
             {IDC_INVOICE_PATH, IDC_INVOICE_BROWSE, IDC_INVOICE_OVERWRITE, IDC_INVOICE_APPEND,
              IDC_INVOICE_JOB_NAME, IDC_INVOICE_RESTORE, IDOK, IDCANCEL, IDHELP}) {
            EXPECT_NE(Control(id), nullptr) << "control " << id;
        }
        EXPECT_EQ(Text(IDC_INVOICE_BROWSE), "...");
        EXPECT_EQ(Text(IDC_INVOICE_OVERWRITE), "Overwrite File");
        EXPECT_EQ(Text(IDC_INVOICE_APPEND), "Append to End of File");
        EXPECT_EQ(Text(IDC_INVOICE_RESTORE), "Restore Defaults");
        EXPECT_EQ(Text(IDHELP), "Help");
    });
    Cancel(script);
    RunDialog(script);

    EXPECT_EQ(listStyle & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_NE(listStyle & LVS_EDITLABELS, 0);
    EXPECT_NE(listStyle & LVS_SHOWSELALWAYS, 0);
    EXPECT_NE(listStyle & LVS_NOSORTHEADER, 0);
    EXPECT_EQ(listStyle & LVS_SINGLESEL, 0);
    EXPECT_EQ(extended & (LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES),
              LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES);
    EXPECT_EQ(headings, (std::vector<std::string>{"Column Name", "Description", "Data"}));
    EXPECT_EQ(widths, (std::vector<int>{120, 170, 95}));
    EXPECT_NE(upStyle & BS_ICON, 0);
    EXPECT_NE(downStyle & BS_ICON, 0);
    EXPECT_NE(upImage, nullptr);
    EXPECT_NE(downImage, nullptr);
}

TEST_F(InvoiceDialogTest, CommaSeparatedFilesHaveTheirOwnCaptionAndPath) {
    Store("Settings", "Tabbed", "0");
    Store("Settings", "CSVFilePath", "C:\\invoices\\jobs.csv");
    Store("Settings", "TSVFilePath", "C:\\invoices\\jobs.tsv");
    Store("Settings", "Overwrite", "0");
    std::string caption, path;
    bool append = false;
    MessageScript script;
    script.Do([&] {
        caption = WindowText(Dialog());
        path = Text(IDC_INVOICE_PATH);
        append = IsDlgButtonChecked(Dialog(), IDC_INVOICE_APPEND) == BST_CHECKED;
    });
    Cancel(script);
    RunDialog(script);
    EXPECT_EQ(caption, "Create or Add to CSV File");
    EXPECT_EQ(path, "C:\\invoices\\jobs.csv");
    EXPECT_TRUE(append);

    Store("Settings", "Tabbed", "1");
    MessageScript again;
    again.Do([&] {
        caption = WindowText(Dialog());
        path = Text(IDC_INVOICE_PATH);
    });
    Cancel(again);
    RunDialog(again);
    EXPECT_EQ(caption, "Create or Add to TSV File");
    EXPECT_EQ(path, "C:\\invoices\\jobs.tsv");
}

TEST_F(InvoiceDialogTest, TheCostRowShowsTheStoredCostWithTwoDecimals) {
    Store("Settings", "3", "1250");
    Store("Settings", "6", "12.5");
    Store("InvoiceOrder", "1", "6");  // the cost first, the date in its place
    Store("InvoiceOrder", "6", "1");
    std::string cost, characters, date;
    MessageScript script;
    script.Do([&] {
        cost = Cell(1, 2);
        characters = Cell(3, 2);
        date = Cell(6, 2);
    });
    Cancel(script);
    RunDialog(script);
    EXPECT_EQ(cost, "12.50");
    EXPECT_EQ(characters, "1250");
    EXPECT_EQ(date, "");
}

// ---- The job field -------------------------------------------------------------------------

TEST_F(InvoiceDialogTest, TypingTheJobNameStoresItAndRefreshesItsRowAtEachChange) {
    std::vector<std::string> shown;
    std::vector<std::string> stored;
    MessageScript script;
    script.Do([&] {
        SetText(IDC_INVOICE_JOB_NAME, "Letters");
        shown.push_back(Cell(2, 2));
        stored.push_back(ReadStored("Settings", "2"));
        // A key typed at the end of the text, as the user types it.
        HWND edit = Control(IDC_INVOICE_JOB_NAME);
        SetFocus(edit);
        SendMessageA(edit, EM_SETSEL, 7, 7);
        SendMessageA(edit, WM_CHAR, '!', 0);
        shown.push_back(Cell(2, 2));
        stored.push_back(ReadStored("Settings", "2"));
        // The Date row, refilled too, now shows the date stamped by the refill before.
        shown.push_back(Cell(1, 2));
    });
    Cancel(script);
    RunDialog(script);
    EXPECT_EQ(shown, (std::vector<std::string>{"Letters", "Letters!", Today()}));
    EXPECT_EQ(stored, (std::vector<std::string>{"Letters", "Letters!"}));
    // Cancel keeps what the field stored.
    EXPECT_EQ(ReadStored("Settings", "2"), "Letters!");
}

TEST_F(InvoiceDialogTest, ARefillShowsTheStoredShownFlagsAgain) {
    std::vector<bool> before, after;
    MessageScript script;
    script.Do([&] {
        SetChecked(4, false);
        for (int row = 0; row < 7; ++row) before.push_back(Checked(row));
        SetText(IDC_INVOICE_JOB_NAME, "Refilled");
        for (int row = 0; row < 7; ++row) after.push_back(Checked(row));
    });
    Cancel(script);
    RunDialog(script);
    EXPECT_EQ(before, (std::vector<bool>{true, true, true, true, false, true, true}));
    EXPECT_EQ(after, std::vector<bool>(7, true));
    bool exists = true;
    ReadStored("InvoiceShow", "4", &exists);
    EXPECT_FALSE(exists) << "check boxes are stored only by OK";
}

// ---- Moving fields -------------------------------------------------------------------------

TEST_F(InvoiceDialogTest, TotalCostMovesUpFiveTimesToTheFirstColumnAndNoFurther) {
    std::vector<std::vector<std::string>> orders;
    std::vector<std::vector<int>> selections;
    std::vector<bool> upStates;
    bool focusOnDisabledButton = true;
    HWND focusAfter = nullptr, list = nullptr;
    MessageScript script;
    script.Do([&] {
        Select(6);
        for (int press = 1; press <= 5; ++press) {
            if (press == 5) SetFocus(Control(IDC_INVOICE_MOVE_UP));
            Click(IDC_INVOICE_MOVE_UP);
            orders.push_back(Column(0));
            selections.push_back(SelectedRows());
            upStates.push_back(Enabled(IDC_INVOICE_MOVE_UP));
        }
        focusAfter = GetFocus();
        list = List();
        focusOnDisabledButton = focusAfter == Control(IDC_INVOICE_MOVE_UP);
        // A sixth press (the disabled button's command sent anyway) changes nothing.
        Click(IDC_INVOICE_MOVE_UP);
        orders.push_back(Column(0));
        selections.push_back(SelectedRows());
    });
    Cancel(script);
    RunDialog(script);

    ASSERT_EQ(orders.size(), 6u);
    for (int press = 1; press <= 5; ++press) {
        EXPECT_EQ(orders[press - 1][6 - press], "Total Cost") << "after press " << press;
        EXPECT_EQ(selections[press - 1], std::vector<int>{6 - press}) << "after press " << press;
    }
    EXPECT_EQ(orders[4],
              (std::vector<std::string>{"Typing Invoice", "Total Cost", "Date", "Job Name",
                                        "No. of Characters", "No. of Words", "No. of Lines"}));
    EXPECT_EQ(orders[5], orders[4]);
    EXPECT_EQ(selections[5], std::vector<int>{1});
    EXPECT_EQ(upStates, (std::vector<bool>{true, true, true, true, false}));
    // The focused button handed the focus to the previous tab stop, the list, before it went.
    EXPECT_FALSE(focusOnDisabledButton);
    EXPECT_EQ(focusAfter, list);
    EXPECT_EQ(ReadStored("InvoiceOrder", "0"), "");
    EXPECT_EQ(ReadStored("InvoiceOrder", "1"), "6");
    EXPECT_EQ(ReadStored("InvoiceOrder", "2"), "1");
    EXPECT_EQ(ReadStored("InvoiceOrder", "6"), "5");
}

TEST_F(InvoiceDialogTest, TheMoveButtonsFollowTheFirstSelectedRow) {
    std::vector<std::pair<bool, bool>> states;
    auto record = [&] {
        states.emplace_back(Enabled(IDC_INVOICE_MOVE_UP), Enabled(IDC_INVOICE_MOVE_DOWN));
    };
    MessageScript script;
    script.Do([&] {
        record();  // nothing selected
        for (int row : {0, 1, 2, 5, 6}) {
            Select(row);
            record();
        }
        Select(-1);
        record();
        // Rows 0 and 3 selected: the title is the first, so neither button may move it.
        SetState(0, LVIS_SELECTED, LVIS_SELECTED);
        SetState(3, LVIS_SELECTED, LVIS_SELECTED);
        record();
        // Rows 6 and 1: the first in list order is row 1.
        Select(6);
        SetState(1, LVIS_SELECTED, LVIS_SELECTED);
        record();
        // Moving down from row 1 follows the first selected row, and only that row stays
        // selected.
        Click(IDC_INVOICE_MOVE_DOWN);
        record();
    });
    std::vector<std::string> order;
    std::vector<int> selected;
    script.Do([&] {
        order = Column(0);
        selected = SelectedRows();
    });
    Cancel(script);
    RunDialog(script);
    using State = std::pair<bool, bool>;
    EXPECT_EQ(states, (std::vector<State>{{false, false},
                                          {false, false},
                                          {false, true},
                                          {true, true},
                                          {true, true},
                                          {true, false},
                                          {false, false},
                                          {false, false},
                                          {false, true},
                                          {true, true}}));
    EXPECT_EQ(order[1], "Job Name");
    EXPECT_EQ(order[2], "Date");
    EXPECT_EQ(selected, std::vector<int>{2});
}

TEST_F(InvoiceDialogTest, CancelAfterAMoveKeepsTheNewOrder) {
    MessageScript script;
    script.Do([&] {
        Select(4);
        Click(IDC_INVOICE_MOVE_DOWN);
    });
    Cancel(script);
    EXPECT_FALSE(RunDialog(script));
    EXPECT_EQ(ReadStored("InvoiceOrder", "4"), "5");
    EXPECT_EQ(ReadStored("InvoiceOrder", "5"), "4");

    std::vector<std::string> names;
    std::vector<LPARAM> fields;
    MessageScript again;
    again.Do([&] {
        names = Column(0);
        for (int row = 0; row < RowCount(); ++row) fields.push_back(ItemData(row));
    });
    Cancel(again);
    RunDialog(again);
    EXPECT_EQ(names[4], "No. of Lines");
    EXPECT_EQ(names[5], "No. of Words");
    EXPECT_EQ(fields, (std::vector<LPARAM>{0, 1, 2, 3, 5, 4, 6}));
}

// ---- In-place editing ----------------------------------------------------------------------

TEST_F(InvoiceDialogTest, TheTitleRenamedInPlaceHeadsTheNewFileAndStays) {
    const std::string path = FilePath("renamed.tsv");
    HWND edit = nullptr;
    std::string rowText;
    MessageScript script;
    script.Do([&] {
        SetText(IDC_INVOICE_PATH, path.c_str());
        Select(0);
        edit = EditName(0, "Spring Invoice");
        ASSERT_NE(edit, nullptr);
        EndEdit(edit, true);
    });
    script.WaitFor("the in-place edit to end", [&] { return EditControl() == nullptr; });
    script.Do([&] { rowText = Cell(0, 0); });
    ConfirmOk(script);
    EXPECT_TRUE(RunDialog(script));

    EXPECT_EQ(rowText, "Spring Invoice");
    EXPECT_EQ(ReadStored("Invoice", "Field0"), "Spring Invoice");
    const std::string bytes = FileBytes(path);
    EXPECT_EQ(bytes.substr(0, bytes.find('\n') + 1), "Spring Invoice\r\n");

    // The next opening keeps the title the user gave.
    std::string title;
    MessageScript again;
    again.Do([&] { title = Cell(0, 0); });
    Cancel(again);
    RunDialog(again);
    EXPECT_EQ(title, "Spring Invoice");
}

TEST_F(InvoiceDialogTest, TheTitleRenamedWithoutSelectingItIsKeptToo) {
    MessageScript script;
    script.Do([&] {
        Select(3);
        HWND edit = EditName(0, "Unselected Title");
        ASSERT_NE(edit, nullptr);
        EndEdit(edit, true);
    });
    script.WaitFor("the in-place edit to end", [&] { return EditControl() == nullptr; });
    Cancel(script);
    RunDialog(script);
    EXPECT_EQ(ReadStored("Invoice", "Field0"), "Unselected Title");
    EXPECT_EQ(ReadStored("Invoice", "Field3"), "No. of Characters");
}

TEST_F(InvoiceDialogTest, OtherNamesEditedInPlaceAreNotKept) {
    std::string dateRow, titleRow;
    MessageScript script;
    script.Do([&] {
        // The title row selected too: the edited row decides, not the selection.
        Select(0);
        SetState(1, LVIS_SELECTED, LVIS_SELECTED);
        HWND edit = EditName(1, "When");
        ASSERT_NE(edit, nullptr);
        EndEdit(edit, true);
    });
    script.WaitFor("the in-place edit to end", [&] { return EditControl() == nullptr; });
    script.Do([&] {
        dateRow = Cell(1, 0);
        titleRow = Cell(0, 0);
    });
    Cancel(script);
    RunDialog(script);
    EXPECT_EQ(dateRow, "Date");
    EXPECT_EQ(titleRow, "Typing Invoice");
    EXPECT_EQ(ReadStored("Invoice", "Field1"), "Date");
    EXPECT_EQ(ReadStored("Invoice", "Field0"), "Typing Invoice");
}

TEST_F(InvoiceDialogTest, OkAndCancelFromTheEditControlDoNotCloseTheDialog) {
    bool openAfterOk = false, openAfterCancel = false, editAlive = false;
    std::string titleAfterEscape;
    MessageScript script;
    script.Do([&] {
        Select(0);
        HWND edit = EditName(0, "Draft");
        ASSERT_NE(edit, nullptr);
        // The edit control's notifications reach the dialog with its id, which is OK's.
        SendMessageA(Dialog(), WM_COMMAND, MAKEWPARAM(IDOK, EN_CHANGE),
                     reinterpret_cast<LPARAM>(edit));
        openAfterOk = DialogOpen();
        SendMessageA(Dialog(), WM_COMMAND, MAKEWPARAM(IDCANCEL, EN_CHANGE),
                     reinterpret_cast<LPARAM>(edit));
        openAfterCancel = DialogOpen();
        editAlive = IsWindow(edit) != FALSE;
        EndEdit(edit, false);
    });
    script.WaitFor("the in-place edit to end", [&] { return EditControl() == nullptr; });
    script.Do([&] { titleAfterEscape = Cell(0, 0); });
    Cancel(script);
    EXPECT_FALSE(RunDialog(script));
    EXPECT_TRUE(openAfterOk);
    EXPECT_TRUE(openAfterCancel);
    EXPECT_TRUE(editAlive);
    EXPECT_EQ(titleAfterEscape, "Typing Invoice");
    EXPECT_EQ(ReadStored("Invoice", "Field0"), "Typing Invoice");
    bool exists = true;
    ReadStored("Settings", "ShowTittle", &exists);
    EXPECT_FALSE(exists) << "the OK pass must not have run";
}

// ---- Restore Defaults ----------------------------------------------------------------------

TEST_F(InvoiceDialogTest, RestoreDefaultsBringsBackNamesButKeepsTheOrder) {
    ASSERT_TRUE(EnsureInvoiceDefaults());
    Store("Invoice", "Field0", "Old Title");
    Store("Invoice", "Field4", "Words");
    Store("Settings", "Field4", "");
    Store("InvoiceOrder", "3", "4");
    Store("InvoiceOrder", "4", "3");
    Store("InvoiceShow", "5", "0");
    std::vector<std::string> before, after;
    std::vector<bool> checkedAfter;
    MessageScript script;
    script.Do([&] {
        before = Column(0);
        Click(IDC_INVOICE_RESTORE);
        after = Column(0);
        for (int row = 0; row < 7; ++row) checkedAfter.push_back(Checked(row));
    });
    Cancel(script);
    RunDialog(script);
    EXPECT_EQ(before,
              (std::vector<std::string>{"Old Title", "Date", "Job Name", "Words",
                                        "No. of Characters", "No. of Lines", "Total Cost"}));
    EXPECT_EQ(after, (std::vector<std::string>{"Typing Invoice", "Date", "Job Name", "No. of Words",
                                               "No. of Characters", "No. of Lines", "Total Cost"}));
    EXPECT_EQ(checkedAfter, (std::vector<bool>{true, true, true, true, true, false, true}));
    EXPECT_EQ(ReadStored("Settings", "Field4"), "Total Number of Words");
    EXPECT_EQ(ReadStored("InvoiceOrder", "3"), "4");
}

// ---- OK ------------------------------------------------------------------------------------

TEST_F(InvoiceDialogTest, OkWritesTheFileAndStoresTheLayout) {
    const std::string path = FilePath("jobs.tsv");
    Store("Settings", "3", "1250");
    Store("Settings", "4", "214");
    Store("Settings", "5", "19");
    Store("Settings", "6", "18.75");
    MessageScript script;
    script.Do([&] {
        SetText(IDC_INVOICE_PATH, path.c_str());
        SetText(IDC_INVOICE_JOB_NAME, "Letters");
    });
    BoxContent box;
    HWND owner = nullptr;
    HWND dialogWindow = nullptr;
    script.Do([&] { dialogWindow = Dialog(); });
    PressAndAnswer(script, IDOK, "Confirmation", &box, &owner, true);
    EXPECT_TRUE(RunDialog(script));

    EXPECT_EQ(box.text, "File Updated.");
    EXPECT_EQ(box.icon, LoadIconA(nullptr, IDI_ASTERISK));
    EXPECT_EQ(owner, dialogWindow);
    const std::string date = ReadStored("Settings", "1");
    EXPECT_EQ(date, Today());
    EXPECT_EQ(
        FileBytes(path),
        "Typing Invoice\r\n"
        "Date \tJob Name \tNo. of Characters \tNo. of Words \tNo. of Lines \tTotal Cost \t \r\n" +
            date + " \tLetters \t1250 \t214 \t19 \t18.75 \t \r\n");
    EXPECT_EQ(ReadStored("Settings", "TSVFilePath"), path);
    EXPECT_EQ(ReadStored("Settings", "Overwrite"), "1");
    EXPECT_EQ(ReadStored("Settings", "ShowTittle"), "1");
    EXPECT_EQ(ReadStored("Settings", "2"), "Letters");
    for (int n = 0; n < kInvoiceFieldCount; ++n) {
        const std::string digit = std::to_string(n);
        EXPECT_EQ(ReadStored("InvoiceOrder", digit.c_str()), digit);
        EXPECT_EQ(ReadStored("InvoiceShow", digit.c_str()), "1");
        EXPECT_EQ(ReadStored("Invoice", ("Field" + digit).c_str()), kDefaultNames[n]);
    }
}

TEST_F(InvoiceDialogTest, AnUncheckedColumnIsLeftOutWhereverItStands) {
    const std::string path = FilePath("words.csv");
    Store("Settings", "Tabbed", "0");
    for (const char* digit : {"3", "4", "5"}) Store("Settings", digit, digit);
    Store("Settings", "6", "2.5");
    MessageScript script;
    script.Do([&] {
        SetText(IDC_INVOICE_PATH, path.c_str());
        // No. of Words up to the second column, then hidden.
        Select(4);
        Click(IDC_INVOICE_MOVE_UP);
        Click(IDC_INVOICE_MOVE_UP);
        SetChecked(2, false);
    });
    ConfirmOk(script);
    EXPECT_TRUE(RunDialog(script));
    const std::string date = ReadStored("Settings", "1");
    EXPECT_EQ(FileBytes(path),
              "Typing Invoice\r\n"
              "Date, Job Name, No. of Characters, No. of Lines, Total Cost,  \r\n" +
                  date + ", Typing Job, 3, 5, 2.5,  \r\n");
    EXPECT_EQ(ReadStored("InvoiceShow", "4"), "0");
    for (const char* other : {"0", "1", "2", "3", "5", "6"}) {
        EXPECT_EQ(ReadStored("InvoiceShow", other), "1") << "field " << other;
    }
    EXPECT_EQ(ReadStored("InvoiceOrder", "2"), "4");
    EXPECT_EQ(ReadStored("Settings", "CSVFilePath"), path);
    bool exists = true;
    ReadStored("Settings", "TSVFilePath", &exists);
    EXPECT_FALSE(exists);
}

TEST_F(InvoiceDialogTest, AnUncheckedTitleStartsTheFileWithTheHeader) {
    const std::string path = FilePath("untitled.tsv");
    MessageScript script;
    script.Do([&] {
        SetText(IDC_INVOICE_PATH, path.c_str());
        SetChecked(0, false);
    });
    ConfirmOk(script);
    EXPECT_TRUE(RunDialog(script));
    EXPECT_EQ(FileBytes(path).rfind("Date \tJob Name", 0), 0u);
    EXPECT_EQ(ReadStored("Settings", "ShowTittle"), "0");
    EXPECT_EQ(ReadStored("InvoiceShow", "0"), "0");
}

TEST_F(InvoiceDialogTest, AppendAddsOneRecordAndIsRemembered) {
    const std::string path = FilePath("append.tsv");
    WriteFileBytes(path, "existing line\r\n");
    MessageScript script;
    script.Do([&] {
        SetText(IDC_INVOICE_PATH, path.c_str());
        CheckRadioButton(Dialog(), IDC_INVOICE_OVERWRITE, IDC_INVOICE_APPEND, IDC_INVOICE_APPEND);
    });
    ConfirmOk(script);
    EXPECT_TRUE(RunDialog(script));
    const std::string date = ReadStored("Settings", "1");
    EXPECT_EQ(FileBytes(path), "existing line\r\n" + date + " \tTyping Job \t \t \t \t \t \r\n");
    EXPECT_EQ(ReadStored("Settings", "Overwrite"), "0");

    bool append = false;
    std::string shownPath;
    MessageScript again;
    again.Do([&] {
        append = IsDlgButtonChecked(Dialog(), IDC_INVOICE_APPEND) == BST_CHECKED;
        shownPath = Text(IDC_INVOICE_PATH);
    });
    Cancel(again);
    RunDialog(again);
    EXPECT_TRUE(append);
    EXPECT_EQ(shownPath, path);
}

TEST_F(InvoiceDialogTest, AnEmptyPathReportsFileNotCompleteAndKeepsTheDialogOpen) {
    const std::string path = FilePath("second-try.tsv");
    BoxContent failure;
    HWND owner = nullptr, dialogWindow = nullptr;
    bool openAfterFailure = false;
    MessageScript script;
    script.Do([&] { dialogWindow = Dialog(); });
    PressAndAnswer(script, IDOK, "Error", &failure, &owner);
    script.Do([&] {
        openAfterFailure = DialogOpen();
        SetText(IDC_INVOICE_PATH, path.c_str());
    });
    ConfirmOk(script);
    EXPECT_TRUE(RunDialog(script));
    EXPECT_EQ(failure.text, "File Not Complete.");
    EXPECT_EQ(failure.icon, LoadIconA(nullptr, IDI_HAND));
    EXPECT_EQ(owner, dialogWindow);
    EXPECT_TRUE(openAfterFailure);
    EXPECT_EQ(ReadStored("Settings", "TSVFilePath"), path);
    EXPECT_FALSE(FileBytes(path).empty());
}

TEST_F(InvoiceDialogTest, AFailedWriteDoesNotStoreThePath) {
    const std::string missing = folder_ + "\\no such folder\\jobs.tsv";
    Store("Settings", "TSVFilePath", "C:\\kept.tsv");
    BoxContent failure;
    MessageScript script;
    script.Do([&] { SetText(IDC_INVOICE_PATH, missing.c_str()); });
    PressAndAnswer(script, IDOK, "Error", &failure);
    Cancel(script);
    EXPECT_FALSE(RunDialog(script));
    EXPECT_EQ(failure.text, "File Not Complete.");
    EXPECT_EQ(ReadStored("Settings", "TSVFilePath"), "C:\\kept.tsv");
}

// ---- The file chooser ----------------------------------------------------------------------

// The chooser's file name box: the combo box of explorer-style dialogs, or its edit.
HWND ChooserNameBox(HWND chooser) {
    HWND box = GetDlgItem(chooser, 0x47c);                 // cmb13
    if (box == nullptr) box = GetDlgItem(chooser, 0x480);  // edt1
    return box;
}

TEST_F(InvoiceDialogTest, TheChooserPutsTheChosenPathInTheField) {
    const std::string chosen = FilePath("chosen.tsv");
    std::string before;
    std::string afterChoice;
    MessageScript script;
    script.Do([&] { PostMessageA(Dialog(), WM_COMMAND, IDC_INVOICE_BROWSE, 0); })
        .WaitFor("the file chooser",
                 [&] { return FindThreadDialog("Locate TSV File", Dialog()) != nullptr; })
        .Do([&] {
            HWND chooser = FindThreadDialog("Locate TSV File", Dialog());
            SetWindowTextA(ChooserNameBox(chooser), chosen.c_str());
            PostMessageA(chooser, WM_COMMAND, IDOK, 0);
        })
        .WaitFor("the file chooser to close",
                 [&] { return FindThreadDialog("Locate TSV File", Dialog()) == nullptr; })
        .Do([&] { afterChoice = Text(IDC_INVOICE_PATH); });
    Cancel(script);
    RunDialog(script);
    EXPECT_EQ(lstrcmpiA(afterChoice.c_str(), chosen.c_str()), 0) << afterChoice;
    // The path is stored only by a successful OK.
    bool exists = true;
    ReadStored("Settings", "TSVFilePath", &exists);
    EXPECT_FALSE(exists);
    char dataFolder[kPathSize];
    UserDataFolder(dataFolder);
    EXPECT_NE(GetFileAttributesA(dataFolder), INVALID_FILE_ATTRIBUTES);
}

TEST_F(InvoiceDialogTest, ACancelledChooserSaysErrorInPathAndKeepsTheField) {
    Store("Settings", "Tabbed", "0");
    BoxContent message;
    HWND owner = reinterpret_cast<HWND>(1);
    std::string afterCancel;
    MessageScript script;
    script.Do([&] { SetText(IDC_INVOICE_PATH, (folder_ + "\\kept.csv").c_str()); })
        .Do([&] { PostMessageA(Dialog(), WM_COMMAND, IDC_INVOICE_BROWSE, 0); })
        .WaitFor("the file chooser",
                 [&] { return FindThreadDialog("Locate CSV File", Dialog()) != nullptr; })
        .Do([&] {
            PostMessageA(FindThreadDialog("Locate CSV File", Dialog()), WM_COMMAND, IDCANCEL, 0);
        })
        .WaitFor("the Error in Path message",
                 [&] { return FindThreadDialog("Folder Path not saved", Dialog()) != nullptr; })
        .Do([&] {
            HWND box = FindThreadDialog("Folder Path not saved", Dialog());
            message = ReadBox(box);
            owner = GetWindow(box, GW_OWNER);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        })
        .WaitFor("the message to close",
                 [&] { return FindThreadDialog("Folder Path not saved", Dialog()) == nullptr; })
        .Do([&] { afterCancel = Text(IDC_INVOICE_PATH); });
    Cancel(script);
    RunDialog(script);
    EXPECT_EQ(message.text, "Error in Path");
    EXPECT_EQ(message.icon, nullptr);
    EXPECT_EQ(owner, nullptr);
    EXPECT_EQ(afterCancel, folder_ + "\\kept.csv");
}

}  // namespace
