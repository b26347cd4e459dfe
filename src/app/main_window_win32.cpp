#include "app/main_window_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/clipboard_text_win32.h"
#include "app/help_links_win32.h"
#include "app/layout.h"
#include "app/periodic_checks_win32.h"
#include "app/status_messages.h"
#include "counting/job_pricing.h"
#include "counting/text_counting.h"
#include "hotkey/foreground_copy_win32.h"
#include "invoice/invoice_dialog_win32.h"
#include "resource_ids.h"
#include "settings/help_topics_win32.h"
#include "settings/settings_page_win32.h"
#include "settings/settings_store_win32.h"
#include "settings/system_checks_win32.h"

namespace {

constexpr int kTextBufferSize = 260;
const ToolbarButtonRecord kToolbarButtons[] = {
    {IDCMD_UPDATE_TEXT, -IDB_UPDATE_TEXT, "Update text", "Update the Text Display Window", 0},
    {IDCMD_ADD_TO_INVOICE, -IDB_ADD_TO_INVOICE, "Add to Invoice", "Add to Invoice", 0},
    {0, 0, nullptr, nullptr, 1},
    {IDCMD_SETTINGS, -IDB_SETTINGS, "Settings", "Change Settings, Preferences and Options", 0},
    {IDCMD_HELP_CONTENTS, -IDB_HELP, "Help", "Display the Manual (F1)", 0},
};

// The window's dialog base units: what MapDialogRect makes of 4 x 8 units.
DialogBaseUnits BaseUnitsOf(HWND window) {
    RECT units{0, 0, 4, 8};
    MapDialogRect(window, &units);
    return {units.right, units.bottom};
}

}  // namespace

MainWindow::MainWindow(bool startedAtLogon) : startedAtLogon_(startedAtLogon) {
    RegisterPanelClass();
}

MainWindow::~MainWindow() {
    if (splash_.window != nullptr) DestroyWindow(splash_.window);
}

void MainWindow::OnInit() {
    toolbar_.CreateToolbar(window_, kToolbarButtons,
                           static_cast<int>(sizeof kToolbarButtons / sizeof kToolbarButtons[0]));
    for (const int size : {32, 16}) {
        HANDLE icon = LoadImageA(ProgramInstance(), MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, size,
                                 size, LR_SHARED);
        SendMessageA(window_, WM_SETICON, size == 32 ? ICON_BIG : ICON_SMALL,
                     reinterpret_cast<LPARAM>(icon));
    }

    trayIcon_.Add(window_);
    DragAcceptFiles(window_, TRUE);
    look_.ApplyFonts(window_);

    LoadPricingInputs();
    // Registered whatever "HotKeysOn" says: a press then still brings the window forward.
    hotKey_.Register(window_, StoredHotKey());
    toolbar_.SizeToolbar();
    LayOutFromSettings();
    ticker_.Start(GetDlgItem(window_, IDC_STATUS_BAR), kStatusMessages);
    look_.PaintMenuBar(window_);

    // A log-on start hides the window as soon as the message loop runs; others show the splash.
    if (startedAtLogon_) {
        PostMessageA(window_, WM_COMMAND, IDCMD_CLOSE_TO_TRAY, 0);
    } else {
        // Opened as soon as the loop runs: the dialog shows and activates itself only after
        // its set-up, and Wine would then leave the splash under it.
        PostMessageA(window_, kOpenSplashMessage, 0, 0);
    }

    helpLinksInserted_ = InsertHelpLinks(GetMenu(window_), IDCMD_ABOUT);

    SetDlgItemTextA(window_, IDC_COUNTED_TEXT, "");
    SetDlgItemInt(window_, IDC_CHARACTERS, 0, TRUE);
    SetDlgItemInt(window_, IDC_WORDS, 0, TRUE);
    RecomputePrice();

    SettingsStore::MarkMachineFlag("Installed");
}

void MainWindow::OnDestroy() {
    ticker_.Stop();
    hasCountedText_ = false;
    std::string().swap(countedText_);
    hotKey_.Unregister();
    trayIcon_.Remove();
    SavePricingInputs();
}

void MainWindow::OnHelp() { ShowHelpTopic(window_, HELP_CONTENTS, 0); }

void MainWindow::OnCommand(WPARAM wParam, WORD) {
    const int id = LOWORD(wParam);
    switch (id) {
        case IDCMD_CLOSE_TO_TRAY:
            ShowWindow(window_, SW_HIDE);
            return;
        case IDCMD_EXIT:
            AskExit();
            return;
        case IDCMD_UPDATE_TEXT:
            CountClipboardText();
            return;
        case IDCMD_COUNT_FILE:
            ChooseFileToCount();
            return;
        case IDCMD_OPEN_FROM_TRAY:
            ShowMainWindow();
            return;
        case IDCMD_SETTINGS:
            OpenSettings();
            return;
        case IDCMD_SHOW_TOOLBAR:
            ToggleToolbar();
            return;
        case IDCMD_ABOUT:
            ShowAboutBox(window_);
            return;
        case IDCMD_ADD_TO_INVOICE: {
            InvoiceDataDialog dialog;
            RunModal(dialog, window_, InvoiceDataDialog::Template());
            return;
        }
        default:
            break;
    }
    if (id >= IDCMD_FIRST_LINK && id <= IDCMD_LAST_LINK) OpenHelpLink(id, helpLinksInserted_);
}

INT_PTR MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            // Enter and Escape must neither close nor hide the window.
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) return TRUE;
            break;
        case WM_CTLCOLORSTATIC: {
            HBRUSH brush = look_.ColourStatic(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)),
                                              reinterpret_cast<HDC>(wParam));
            if (brush != nullptr) return reinterpret_cast<INT_PTR>(brush);
            break;
        }
        case WM_SIZE:
            toolbar_.SizeToolbar();
            LayOutFromSettings();
            InvalidateRect(window_, nullptr, FALSE);
            return TRUE;
        case WM_SYSCOLORCHANGE:
            ChangeSystemColours();
            return TRUE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->hwndFrom == toolbar_.Window() && header->code == NM_CUSTOMDRAW) {
                SetMessageResult(
                    toolbar_.PaintBackground(*reinterpret_cast<const NMCUSTOMDRAW*>(lParam)));
                return TRUE;
            }
            break;
        }
        case WM_HOTKEY:
            GrabForegroundText();
            return TRUE;
        case WM_DROPFILES:
            CountDroppedFiles(reinterpret_cast<HDROP>(wParam));
            return TRUE;
        case kOpenSplashMessage:
            ShowSplash(splash_, window_);
            return TRUE;
        case kTrayCallbackMessage:
            if (lParam == WM_LBUTTONUP) {
                ShowMainWindow();
            } else if (lParam == WM_RBUTTONDOWN) {
                trayIcon_.ShowMenu();
            }
            return TRUE;
        case WM_CLOSE:
            // The close box and Alt+F4 end the program without the exit question.
            if (OnCancel()) EndWindow(IDCANCEL);
            return TRUE;
        case WM_ENDSESSION:
            if (wParam) EndWindow(IDCANCEL);
            return TRUE;
        case kCloseRequestMessage:
            EndWindow(IDCANCEL);
            return TRUE;
        case kShowRequestMessage:
            if (wParam == 0) ShowMainWindow();
            return TRUE;
        case WM_DESTROY:
            PostQuitMessage(0);
            break;
        default:
            break;
    }
    return ModelessDialog::HandleMessage(message, wParam, lParam);
}

void MainWindow::LayOutFromSettings() {
    const int offset = ApplyToolbarSetting();
    const DialogBaseUnits base = BaseUnitsOf(window_);
    PlaceWindowFromSettings(MainClientSize(base, offset));
    PlaceControls(base, offset);
    InvalidateRect(window_, nullptr, TRUE);
}

int MainWindow::ApplyToolbarSetting() {
    toolbarShown_ = SettingsStore::ReadBool("Settings", "ShowToolBar", true);
    HWND toolbar = toolbar_.Window();
    if (toolbar != nullptr) ShowWindow(toolbar, toolbarShown_ ? SW_SHOW : SW_HIDE);
    CheckMenuItem(GetMenu(window_), IDCMD_SHOW_TOOLBAR,
                  MF_BYCOMMAND | (toolbarShown_ ? MF_CHECKED : MF_UNCHECKED));
    RECT bar{};
    if (toolbar != nullptr) GetWindowRect(toolbar, &bar);
    return ToolbarOffset(toolbarShown_ && toolbar != nullptr, bar.bottom - bar.top);
}

void MainWindow::PlaceWindowFromSettings(Size client) {
    const int x = SettingsStore::ReadInt(SettingsScope::PerUser, "Settings", "X", 120);
    const int y = SettingsStore::ReadInt(SettingsScope::PerUser, "Settings", "Y", 30);
    RECT frame{};
    RECT inside{};
    GetWindowRect(window_, &frame);
    GetClientRect(window_, &inside);
    const Size wanted{client.width + (frame.right - frame.left) - inside.right,
                      client.height + (frame.bottom - frame.top) - inside.bottom};
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    const Box place = PlaceOnDesktop(
        x, y, wanted,
        {desktop.left, desktop.top, desktop.right - desktop.left, desktop.bottom - desktop.top});
    MoveWindow(window_, place.left, place.top, place.width, place.height, TRUE);
}

void MainWindow::PlaceControls(DialogBaseUnits base, int offset) {
    for (std::size_t i = 0; i < kMainLayoutCount; ++i) {
        const Box box = PlaceControl(kMainLayout[i].units, base, offset);
        MoveControl(*this, kMainLayout[i].id, box.left, box.top, box.width, box.height);
        if (kMainLayout[i].id == IDC_TOOLBAR_RULE) {
            ShowWindow(GetDlgItem(window_, IDC_TOOLBAR_RULE), toolbarShown_ ? SW_SHOW : SW_HIDE);
        }
    }
}

void MainWindow::ToggleToolbar() {
    toolbar_.SizeToolbar();
    SettingsStore::WriteBool("Settings", "ShowToolBar",
                             !SettingsStore::ReadBool("Settings", "ShowToolBar", true));
    LayOutFromSettings();
}

void MainWindow::ChangeSystemColours() {
    // Common controls take colour changes only from their parent.
    if (toolbar_.Window() != nullptr) {
        SendMessageA(toolbar_.Window(), WM_SYSCOLORCHANGE, 0, 0);
    }
    SendDlgItemMessageA(window_, IDC_STATUS_BAR, WM_SYSCOLORCHANGE, 0, 0);
    toolbar_.PaintHeader();
    if (toolbar_.Window() != nullptr) InvalidateRect(toolbar_.Window(), nullptr, TRUE);
}

void MainWindow::ShowMainWindow() {
    ShowWindow(window_, IsZoomed(window_) ? SW_MAXIMIZE : SW_RESTORE);
    SetForegroundWindow(window_);
    RunPeriodicChecks(window_);
}

void MainWindow::OpenSettings() {
    if (!SettingsSheet(window_, &hotKey_)) return;
    hotKey_.Unregister();
    if (SettingsStore::ReadBool("Settings", "HotKeysOn", true))
        hotKey_.Register(window_, StoredHotKey());
}

void MainWindow::GrabForegroundText() {
    const bool selectAll = SettingsStore::ReadBool("Settings", "Automate", false);
    if (SettingsStore::ReadBool("Settings", "HotKeysOn", true)) {
        CopyForegroundSelection(window_, selectAll);
    }
    ShowWindow(window_, SW_RESTORE);
    SetForegroundWindow(window_);
    CountClipboardText();
}

void MainWindow::AskExit() {
    int answer = MessageBoxA(window_, "Do you want Quillmet to run in the background?",
                             "Confirm Exit", MB_ICONQUESTION | MB_YESNOCANCEL);
    if (answer == IDYES) {
        ShowWindow(window_, SW_HIDE);
    } else if (answer == IDNO) {
        EndWindow(IDCANCEL);
    }
}

std::string MainWindow::FieldText(int controlId) const {
    char text[kTextBufferSize] = {};
    GetDlgItemTextA(window_, controlId, text, sizeof text);
    return text;
}

void MainWindow::CountClipboardText() {
    // Without a new text the counts stay those of the text counted before.
    int characters = static_cast<int>(GetDlgItemInt(window_, IDC_CHARACTERS, nullptr, TRUE));
    int words = static_cast<int>(GetDlgItemInt(window_, IDC_WORDS, nullptr, TRUE));

    switch (ReadClipboardText(countedText_)) {
        case ClipboardText::kRead:
            hasCountedText_ = true;
            characters = static_cast<int>(countedText_.size());
            words = CountWords(countedText_.c_str());
            SetDlgItemTextA(window_, IDC_COUNTED_TEXT, countedText_.c_str());
            ShowCountedFilesStatus("");
            break;
        case ClipboardText::kUnreadable:
            SetDlgItemTextA(window_, IDC_COUNTED_TEXT, "");
            break;
        case ClipboardText::kNone:
            break;
    }

    SetDlgItemInt(window_, IDC_CHARACTERS, static_cast<UINT>(characters), TRUE);
    SetDlgItemInt(window_, IDC_WORDS, static_cast<UINT>(words), TRUE);
    RecomputePrice();
}

void MainWindow::RecomputePrice() {
    PricingFields fields;
    fields.fixedCost = FieldText(IDC_FIXED_COST);
    fields.characters = FieldText(IDC_CHARACTERS);
    fields.words = FieldText(IDC_WORDS);
    fields.width = FieldText(IDC_WIDTH);
    fields.perCharacter = FieldText(IDC_PER_CHAR);
    fields.perWord = FieldText(IDC_PER_WORD);
    fields.perLine = FieldText(IDC_PER_LINE);

    const PricingOutcome outcome =
        ComputeJobPrice(fields, hasCountedText_ ? countedText_.c_str() : nullptr);

    if (outcome.widthChanged) SetDlgItemTextA(window_, IDC_WIDTH, outcome.width.c_str());
    if (outcome.perCharacterChanged) {
        SetDlgItemTextA(window_, IDC_PER_CHAR, outcome.perCharacter.c_str());
    }
    if (outcome.perWordChanged) SetDlgItemTextA(window_, IDC_PER_WORD, outcome.perWord.c_str());
    if (outcome.perLineChanged) SetDlgItemTextA(window_, IDC_PER_LINE, outcome.perLine.c_str());
    SetDlgItemInt(window_, IDC_LINES, static_cast<UINT>(outcome.lines), TRUE);

    total_ = outcome.total;
    SetDlgItemTextA(window_, IDC_CHAR_AMOUNT, outcome.characterAmountText.c_str());
    SetDlgItemTextA(window_, IDC_WORD_AMOUNT, outcome.wordAmountText.c_str());
    SetDlgItemTextA(window_, IDC_LINE_AMOUNT, outcome.lineAmountText.c_str());
    SetDlgItemTextA(window_, IDC_TOTAL, outcome.totalText.c_str());

    for (const PublishedValue& value : outcome.published) {
        SettingsStore::WriteString(SettingsScope::PerUser, "Settings", value.name,
                                   value.text.c_str());
    }
}

void MainWindow::LoadPricingInputs() {
    for (const PricingInput& input : kPricingInputs) {
        char text[kSettingsTextSize];
        SettingsStore::ReadString(SettingsScope::PerUser, "Settings", input.valueName,
                                  input.defaultText, text);
        SetDlgItemTextA(window_, input.controlId, text);
    }
}

void MainWindow::SavePricingInputs() {
    for (const PricingInput& input : kPricingInputs) {
        SettingsStore::WriteString(SettingsScope::PerUser, "Settings", input.valueName,
                                   FieldText(input.controlId).c_str());
    }
}
