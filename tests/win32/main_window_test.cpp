// The main window inside the test program: its menus, the status-bar ticker, the keys it
// swallows and what it saves when it goes.
#include "app/main_window_win32.h"

#include <commctrl.h>
#include <shlwapi.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/header_colours.h"
#include "app/help_links.h"
#include "app/status_messages.h"
#include "resource_ids.h"
#include "settings/settings_store_win32.h"
#include "support/message_script.h"
#include "support/saved_registry_value_win32.h"
#include "support/product_settings_win32.h"

namespace {

std::string MenuText(HMENU menu, int position) {
    char text[256] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

// The splash window over the main window, or null.
HWND SplashOf(HWND owner) {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "LAW", nullptr)) != nullptr) {
        if (GetWindow(window, GW_OWNER) == owner) return window;
    }
    return nullptr;
}

class MainWindowTest : public testing::Test {
  protected:
    void SetUp() override { SHDeleteKeyA(HKEY_CURRENT_USER, kProductKey); }
    void TearDown() override { SHDeleteKeyA(HKEY_CURRENT_USER, kProductKey); }

    // Runs the main window with the script's steps; the last step must end the window.
    void Run(MainWindow& window, MessageScript& script) {
        script.Rescue([&] {
            if (window.Window() != nullptr) DestroyWindow(window.Window());
        });
        script.Start();
        EXPECT_TRUE(RunModelessLoop(window, MAKEINTRESOURCEA(IDD_MAIN_WINDOW), nullptr));
        script.Stop();
        EXPECT_TRUE(script.Completed());
        EXPECT_EQ(window.Window(), nullptr);
        // The window posts the quit message as it goes; take it off the queue.
        MSG message;
        while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
};

TEST_F(MainWindowTest, HelpMenuHoldsTheSiteLinksBetweenContentsAndAbout) {
    MainWindow window(false);
    MessageScript script;
    script.Do([&] {
        HMENU help = GetSubMenu(GetMenu(window.Window()), 2);
        ASSERT_NE(help, nullptr);
        const int count = GetMenuItemCount(help);
        int rows = 0;
        while (kHelpLinks[rows].caption != nullptr) ++rows;
        // Contents, separator, the rows, one more separator, About.
        ASSERT_EQ(count, 2 + rows + 2);
        EXPECT_EQ(GetMenuItemID(help, 0), static_cast<UINT>(IDCMD_HELP_CONTENTS));
        for (int row = 0; row < rows; ++row) {
            const UINT id = GetMenuItemID(help, 2 + row);
            if (kHelpLinks[row].caption[0] == '\0') {
                EXPECT_EQ(GetMenuState(help, 2 + row, MF_BYPOSITION) & MF_SEPARATOR,
                          static_cast<UINT>(MF_SEPARATOR))
                    << "row " << row;
            } else {
                EXPECT_EQ(id, static_cast<UINT>(IDCMD_FIRST_LINK + row));
                EXPECT_EQ(MenuText(help, 2 + row), kHelpLinks[row].caption);
            }
        }
        EXPECT_EQ(GetMenuState(help, count - 2, MF_BYPOSITION) & MF_SEPARATOR,
                  static_cast<UINT>(MF_SEPARATOR));
        EXPECT_EQ(GetMenuItemID(help, count - 1), static_cast<UINT>(IDCMD_ABOUT));
    });
    script.Do([&] { PostMessageA(window.Window(), WM_CLOSE, 0, 0); });
    Run(window, script);
}

TEST_F(MainWindowTest, LinkTableFitsTheMenuCommandRange) {
    int rows = 0;
    while (kHelpLinks[rows].caption != nullptr) ++rows;
    EXPECT_LE(rows, kMaxHelpLinks);
    EXPECT_EQ(IDCMD_FIRST_LINK + kMaxHelpLinks - 1, IDCMD_LAST_LINK);
}

TEST_F(MainWindowTest, StatusBarShowsTheFirstMessageSoonAfterStart) {
    MainWindow window(false);
    MessageScript script;
    auto statusText = [&] {
        char text[256] = {};
        SendDlgItemMessageA(window.Window(), IDC_STATUS_BAR, SB_GETTEXTA, 0,
                            reinterpret_cast<LPARAM>(text));
        return std::string(text);
    };
    script.Do([&] { EXPECT_EQ(statusText(), ""); });
    script.WaitFor("the first status message", [&] { return statusText() == kStatusMessages[0]; });
    script.Do([&] { PostMessageA(window.Window(), WM_CLOSE, 0, 0); });
    Run(window, script);
}

TEST_F(MainWindowTest, EnterAndEscapeAreSwallowedWhileTheCloseBoxEnds) {
    MainWindow window(false);
    MessageScript script;
    script.Do([&] {
        HWND edit = GetDlgItem(window.Window(), IDC_FIXED_COST);
        SetFocus(edit);
        // Keys go through the window's own loop and dialog manager, as typed.
        PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    });
    script.Do([&] { EXPECT_TRUE(IsWindowVisible(window.Window())); });
    script.Do([&] { PostMessageA(window.Window(), WM_CLOSE, 0, 0); });
    Run(window, script);
}

TEST_F(MainWindowTest, EnterInTheCountedTextMakesANewLine) {
    MainWindow window(false);
    MessageScript script;
    script.Do([&] {
        HWND edit = GetDlgItem(window.Window(), IDC_COUNTED_TEXT);
        SetFocus(edit);
        PostMessageA(edit, WM_CHAR, 'a', 1);
        // The loop translates the key into the character that makes the new line.
        PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    });
    script.Do(
        [&] { PostMessageA(GetDlgItem(window.Window(), IDC_COUNTED_TEXT), WM_CHAR, 'b', 1); });
    script.Do([&] {
        char text[64] = {};
        GetDlgItemTextA(window.Window(), IDC_COUNTED_TEXT, text, sizeof text);
        EXPECT_STREQ(text, "a\r\nb");
        EXPECT_TRUE(IsWindowVisible(window.Window()));
        PostMessageA(window.Window(), WM_CLOSE, 0, 0);
    });
    Run(window, script);
}

TEST_F(MainWindowTest, EveryEndSavesThePricingInputsAsTyped) {
    MainWindow window(false);
    MessageScript script;
    script.Do([&] {
        SetDlgItemTextA(window.Window(), IDC_PER_LINE, "-5");
        SetDlgItemTextA(window.Window(), IDC_WIDTH, "abc");
        PostMessageA(window.Window(), WM_ENDSESSION, TRUE, 0);
    });
    Run(window, script);
    char text[kSettingsTextSize];
    SettingsStore::ReadString(SettingsScope::PerUser, "Settings", "LineCost", "", text);
    EXPECT_STREQ(text, "-5");
    SettingsStore::ReadString(SettingsScope::PerUser, "Settings", "CharacterPerLine", "", text);
    EXPECT_STREQ(text, "abc");
    SettingsStore::ReadString(SettingsScope::PerUser, "Settings", "FixedCostAmount", "", text);
    EXPECT_STREQ(text, "0.00");
}

TEST_F(MainWindowTest, ShowRequestWithANonZeroParameterDoesNothing) {
    // A show runs the periodic checks; as the first one it only stores the two dates, which are
    // put back as they were afterwards.
    const char* machineSettings = "Software\\Kestrovan\\Quillmet\\Settings";
    SavedRegistryValue firstDate(HKEY_LOCAL_MACHINE, machineSettings, "RelatedPDate");
    SavedRegistryValue checkDate(HKEY_LOCAL_MACHINE, machineSettings, "VCheckDate");
    SHDeleteValueA(HKEY_LOCAL_MACHINE, machineSettings, "RelatedPDate");
    SHDeleteValueA(HKEY_LOCAL_MACHINE, machineSettings, "VCheckDate");
    MainWindow window(false);
    MessageScript script;
    script.Do([&] { SendMessageA(window.Window(), WM_COMMAND, IDCMD_CLOSE_TO_TRAY, 0); });
    script.Do([&] {
        SendMessageA(window.Window(), kShowRequestMessage, 1, 0);
        EXPECT_FALSE(IsWindowVisible(window.Window()));
        SendMessageA(window.Window(), kShowRequestMessage, 0, 0);
        EXPECT_TRUE(IsWindowVisible(window.Window()));
        PostMessageA(window.Window(), kCloseRequestMessage, 0, 0);
    });
    Run(window, script);
}

TEST_F(MainWindowTest, TrayRightClickShowsTheTrayMenuWithOpenAsDefault) {
    MainWindow window(false);
    MessageScript script;
    HWND popup = nullptr;
    // The menu runs its own loop inside this step; the steps after it run inside that loop.
    script.Do(
        [&] { SendMessageA(window.Window(), kTrayCallbackMessage, kTrayIconId, WM_RBUTTONDOWN); });
    script.WaitFor("the tray menu", [&] {
        popup = FindWindowA(MAKEINTATOM(0x8000), nullptr);
        return popup != nullptr && IsWindowVisible(popup);
    });
    script.Do([&] {
        auto menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), static_cast<UINT>(IDCMD_OPEN_FROM_TRAY));
        EXPECT_EQ(MenuText(menu, 0), "Open Quillmet");
        EXPECT_EQ(GetMenuItemCount(menu), 4);
        EndMenu();
    });
    script.Do([&] { PostMessageA(window.Window(), WM_CLOSE, 0, 0); });
    Run(window, script);
}

TEST_F(MainWindowTest, ToolbarHeaderToolbarSwitchAndSplash) {
    const struct {
        int command;
        const char* label;
        const char* tip;
    } buttons[] = {
        {IDCMD_UPDATE_TEXT, "Update text", "Update the Text Display Window"},
        {IDCMD_ADD_TO_INVOICE, "Add to Invoice", "Add to Invoice"},
        {0, nullptr, nullptr},
        {IDCMD_SETTINGS, "Settings", "Change Settings, Preferences and Options"},
        {IDCMD_HELP_CONTENTS, "Help", "Display the Manual (F1)"},
    };
    const int face = COLOR_BTNFACE;
    const COLORREF saved = GetSysColor(face);
    const COLORREF grey = RGB(192, 192, 192);
    MainWindow window(false);
    MessageScript script;
    HWND toolbar = nullptr;
    // The header's first and last rows at the toolbar's right end, where no button is.
    auto expectHeader = [&](COLORREF colour) {
        UpdateWindow(toolbar);
        RECT client{};
        GetClientRect(toolbar, &client);
        const std::vector<Rgb> rows = HeaderRowColours(
            {GetRValue(colour), GetGValue(colour), GetBValue(colour)}, client.bottom);
        HDC dc = GetDC(toolbar);
        for (int y : {0, static_cast<int>(client.bottom) - 1}) {
            const Rgb& want = rows.at(static_cast<std::size_t>(y));
            EXPECT_EQ(GetPixel(dc, client.right - 2, y), RGB(want.red, want.green, want.blue))
                << "row " << y << " of " << client.bottom;
        }
        ReleaseDC(toolbar, dc);
    };
    auto checked = [&] {
        return (GetMenuState(GetMenu(window.Window()), IDCMD_SHOW_TOOLBAR, MF_BYCOMMAND) &
                MF_CHECKED) != 0;
    };
    script.Do([&] {
        // No picture in this program: the splash is the text area of the 300 x 0 default.
        HWND splash = SplashOf(window.Window());
        ASSERT_NE(splash, nullptr);
        RECT rect{};
        GetWindowRect(splash, &rect);
        EXPECT_EQ(rect.right - rect.left, 304);
        EXPECT_EQ(rect.bottom - rect.top, 88);
        PostMessageA(splash, WM_LBUTTONDOWN, MK_LBUTTON, 0);

        toolbar = GetDlgItem(window.Window(), IDC_TOOLBAR);
        ASSERT_EQ(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 5);
        auto tips = reinterpret_cast<HWND>(SendMessageA(toolbar, TB_GETTOOLTIPS, 0, 0));
        for (int i = 0; i < 5; ++i) {
            TBBUTTON button{};
            SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
            EXPECT_EQ(button.idCommand, buttons[i].command);
            EXPECT_EQ((button.fsStyle & BTNS_SEP) != 0, buttons[i].label == nullptr);
            if (buttons[i].label == nullptr) continue;
            char text[1024] = {};
            SendMessageA(toolbar, TB_GETBUTTONTEXTA, button.idCommand,
                         reinterpret_cast<LPARAM>(text));
            EXPECT_STREQ(text, buttons[i].label);
            TOOLINFOA tool{};
            tool.cbSize = sizeof tool;
            tool.hwnd = toolbar;
            tool.uId = static_cast<UINT_PTR>(button.idCommand);
            tool.lpszText = text;
            SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
            EXPECT_STREQ(text, buttons[i].tip);
        }
        expectHeader(saved);
        SetSysColors(1, &face, &grey);
    });
    script.Do([&] {
        EXPECT_EQ(SplashOf(window.Window()), nullptr) << "a click leaves the splash open";
        expectHeader(grey);
        SetSysColors(1, &face, &saved);
        // The switch, twice: the setting and the check mark follow.
        EXPECT_TRUE(checked());
        SendMessageA(window.Window(), WM_COMMAND, IDCMD_SHOW_TOOLBAR, 0);
        EXPECT_FALSE(checked());
        EXPECT_FALSE(SettingsStore::ReadBool("Settings", "ShowToolBar", true));
        SendMessageA(window.Window(), WM_COMMAND, IDCMD_SHOW_TOOLBAR, 0);
        EXPECT_TRUE(checked());
        EXPECT_TRUE(SettingsStore::ReadBool("Settings", "ShowToolBar", false));
        PostMessageA(window.Window(), kOpenSplashMessage, 0, 0);
    });
    script.Do([&] { PostMessageA(SplashOf(window.Window()), WM_TIMER, 1, 0); });
    script.Do([&] {
        EXPECT_EQ(SplashOf(window.Window()), nullptr) << "its timer leaves the splash open";
        PostMessageA(window.Window(), WM_CLOSE, 0, 0);
    });
    Run(window, script);
    SetSysColors(1, &face, &saved);
    EXPECT_EQ(GetSysColor(face), saved);
}

}  // namespace
