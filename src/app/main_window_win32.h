// The program's one window in the normal run: counted text, pricing panel, menus, status bar
// and tray icon. A modeless dialog that routes every command.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/layout.h"
#include "app/main_window_look_win32.h"
#include "app/about_box_win32.h"
#include "app/splash_win32.h"
#include "app/status_ticker_win32.h"
#include "app/toolbar_win32.h"
#include "app/tray_icon_win32.h"
#include "hotkey/program_hotkey_win32.h"
#include "ui/dialog_base_win32.h"

// Messages between copies of the program.
constexpr UINT kCloseRequestMessage = WM_USER + 102;  // 1126
constexpr UINT kShowRequestMessage = WM_USER + 104;   // 1128
// Opens the splash once the window shows.
constexpr UINT kOpenSplashMessage = WM_APP + 104;

class MainWindow : public ModelessDialog {
  public:
    explicit MainWindow(bool startedAtLogon);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    void OnInit() override;
    void OnDestroy() override;
    bool OnCancel() override { return true; }
    void OnHelp() override;
    void OnCommand(WPARAM wParam, WORD notifyCode) override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    void ShowMainWindow();
    void CountClipboardText();
    void RecomputePrice();
    // The hot key: the foreground application copies its selection, then it is counted.
    void GrabForegroundText();
    // Reads "ShowToolBar", "X" and "Y", then shows or hides the toolbar, sizes and places the
    // window on the desktop, and places every control in it. Runs at set-up and on every
    // WM_SIZE.
    void LayOutFromSettings();
    // Counts files as one text, in the order given, joined by CR LF: "Count File..." and
    // files dropped on the window. A file that cannot be read is named in a message, and the
    // counts and the counted text stay as they were.
    void CountFiles(const std::vector<std::string>& paths);

  private:
    // Shows or hides the toolbar and ticks its menu item; returns how far it moves the rest down.
    int ApplyToolbarSetting();
    void PlaceWindowFromSettings(Size client);
    void PlaceControls(DialogBaseUnits base, int offset);
    void AskExit();
    void OpenSettings();
    void LoadPricingInputs();
    void SavePricingInputs();
    void ToggleToolbar();
    void ChangeSystemColours();
    std::string FieldText(int controlId) const;
    void ChooseFileToCount();
    void CountDroppedFiles(HDROP drop);
    // The files of the count in the status bar's second part; none: the part goes.
    void ShowCountedFilesStatus(const std::string& status);

    bool startedAtLogon_;
    ToolbarPainter toolbar_;
    double total_ = 0.0;
    bool toolbarShown_ = false;
    PicturePanel splash_;
    MainWindowLook look_;
    TrayIcon trayIcon_;
    StatusTicker ticker_;
    ProgramHotKey hotKey_;
    int helpLinksInserted_ = 0;
    bool hasCountedText_ = false;
    std::string countedText_;
};
