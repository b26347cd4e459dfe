// The main window inside the test program: its menus, the status-bar ticker, the keys it
// swallows and what it saves when it goes.
#include "app/main_window_win32.h"

#include <commctrl.h>
#include <shlwapi.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/header_colours.h"
#include "app/layout.h"
#include "app/site_links.h"
#include "resource_ids.h"
#include "settings/settings_store_win32.h"
#include "support/message_script.h"

namespace {

const char* kProductKey = "Software\\Kestrovan\\Quillmet";

std::string MenuText(HMENU menu, int position) {
    char text[256] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

struct SplashSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK MatchSplash(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<SplashSearch*>(context);
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "LAW") != 0 || GetWindow(window, GW_OWNER) != search->owner) return TRUE;
    search->found = window;
    return FALSE;
}

// The splash window over the main window, or null.
HWND SplashOf(HWND owner) {
    SplashSearch search{owner, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &MatchSplash, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Each control's rectangle in the window's client coordinates.
std::vector<RECT> ControlRects(HWND window) {
    std::vector<RECT> rects;
    for (std::size_t i = 0; i < kMainLayoutCount; ++i) {
        RECT rect{};
        HWND control = GetDlgItem(window, kMainLayout[i].id);
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        rects.push_back(rect);
    }
    return rects;
}

int ToolbarHeight(HWND window) {
    RECT rect{};
    GetWindowRect(GetDlgItem(window, IDC_TOOLBAR), &rect);
    return rect.bottom - rect.top;
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

TEST_F(MainWindowTest, ToolbarHasTheButtonsLabelsAndTips) {
    struct Row {
        int command;
        const char* label;
        const char* tip;
    };
    const Row rows[] = {
        {IDCMD_UPDATE_TEXT, "Update text", "Update the Text Display Window"},
        {IDCMD_ADD_TO_INVOICE, "Add to Invoice", "Add to Invoice"},
        {0, nullptr, nullptr},
        {IDCMD_SETTINGS, "Settings", "Change Settings, Preferences and Options"},
        {IDCMD_HELP_CONTENTS, "Help", "Display the Manual (F1)"},
    };
    MainWindow window(false);
    MessageScript script;
    script.Do([&] {
        HWND toolbar = GetDlgItem(window.Window(), IDC_TOOLBAR);
        ASSERT_NE(toolbar, nullptr);
        ASSERT_EQ(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 5);
        auto tips = reinterpret_cast<HWND>(SendMessageA(toolbar, TB_GETTOOLTIPS, 0, 0));
        ASSERT_NE(tips, nullptr);
        for (int i = 0; i < 5; ++i) {
            const Row& row = rows[i];
            TBBUTTON button{};
            ASSERT_TRUE(SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)));
            if (row.label == nullptr) {
                EXPECT_EQ(button.fsStyle & BTNS_SEP, BTNS_SEP) << "button " << i;
                continue;
            }
            EXPECT_EQ(button.idCommand, row.command);
            EXPECT_TRUE(button.fsState & TBSTATE_ENABLED);
            char text[256] = {};
            SendMessageA(toolbar, TB_GETBUTTONTEXTA, row.command, reinterpret_cast<LPARAM>(text));
            EXPECT_STREQ(text, row.label);
            char tip[1024] = {};
            TOOLINFOA tool{};
            tool.cbSize = sizeof tool;
            tool.hwnd = toolbar;
            tool.uId = static_cast<UINT_PTR>(row.command);
            tool.lpszText = tip;
            SendMessageA(tips, TTM_GETTEXTA, sizeof tip, reinterpret_cast<LPARAM>(&tool));
            EXPECT_STREQ(tip, row.tip);
        }
    });
    script.Do([&] { PostMessageA(window.Window(), WM_CLOSE, 0, 0); });
    Run(window, script);
}

TEST_F(MainWindowTest, LayoutFollowsTheTableAndTheToolbarSettingBothWays) {
    MainWindow window(false);
    MessageScript script;
    std::vector<RECT> shown;
    RECT frameShown{};
    auto expectLayout = [&](bool toolbar) {
        HWND main = window.Window();
        const int d = toolbar ? ToolbarHeight(main) + 4 : 0;
        const std::vector<RECT> rects = ControlRects(main);
        for (std::size_t i = 0; i < kMainLayoutCount; ++i) {
            // The status bar keeps itself at the client's foot.
            if (kMainLayout[i].id == IDC_STATUS_BAR) continue;
            const Box& units = kMainLayout[i].units;
            // Each of the four values converted on its own, as the layout does.
            RECT mapped{units.left, units.top, units.width, units.height};
            MapDialogRect(main, &mapped);
            const RECT expected{mapped.left, d + mapped.top, mapped.left + mapped.right,
                                d + mapped.top + mapped.bottom};
            EXPECT_TRUE(EqualRect(&rects[i], &expected))
                << "control " << kMainLayout[i].id << " at " << rects[i].left << "," << rects[i].top
                << " toolbar " << toolbar;
        }
        RECT client{};
        GetClientRect(main, &client);
        RECT units{0, 0, 408, 0};
        MapDialogRect(main, &units);
        RECT extra{0, 0, 0, static_cast<int>(0.4 * d)};
        MapDialogRect(main, &extra);
        RECT size{0, 0, 408, 284 + extra.bottom};
        MapDialogRect(main, &size);
        EXPECT_EQ(client.right, size.right);
        EXPECT_EQ(client.bottom, size.bottom);
        EXPECT_EQ(IsWindowVisible(GetDlgItem(main, IDC_TOOLBAR)) != FALSE, toolbar);
        EXPECT_EQ(IsWindowVisible(GetDlgItem(main, IDC_TOOLBAR_RULE)) != FALSE, toolbar);
        EXPECT_EQ(GetMenuState(GetMenu(main), IDCMD_SHOW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED,
                  toolbar ? static_cast<UINT>(MF_CHECKED) : 0u);
        char text[kSettingsTextSize];
        SettingsStore::ReadString(SettingsScope::PerUser, "Settings", "ShowToolBar", "<none>",
                                  text);
        return std::string(text);
    };
    script.Do([&] {
        EXPECT_EQ(expectLayout(true), "<none>");
        shown = ControlRects(window.Window());
        GetWindowRect(window.Window(), &frameShown);
        PostMessageA(window.Window(), WM_COMMAND, IDCMD_SHOW_TOOLBAR, 0);
    });
    script.Do([&] {
        EXPECT_EQ(expectLayout(false), "0");
        PostMessageA(window.Window(), WM_COMMAND, IDCMD_SHOW_TOOLBAR, 0);
    });
    script.Do([&] {
        EXPECT_EQ(expectLayout(true), "1");
        const std::vector<RECT> again = ControlRects(window.Window());
        for (std::size_t i = 0; i < kMainLayoutCount; ++i) {
            EXPECT_TRUE(EqualRect(&again[i], &shown[i])) << "control " << kMainLayout[i].id;
        }
        RECT frame{};
        GetWindowRect(window.Window(), &frame);
        EXPECT_TRUE(EqualRect(&frame, &frameShown));
        PostMessageA(window.Window(), WM_CLOSE, 0, 0);
    });
    Run(window, script);
}

TEST_F(MainWindowTest, HeaderShadesTheButtonFaceAndFollowsAColourChange) {
    const int element = COLOR_BTNFACE;
    const COLORREF saved = GetSysColor(element);
    MainWindow window(false);
    MessageScript script;
    // The header's first and last rows at the toolbar's right end, where no button is.
    auto expectHeader = [&](COLORREF face) {
        HWND toolbar = GetDlgItem(window.Window(), IDC_TOOLBAR);
        UpdateWindow(toolbar);
        RECT client{};
        GetClientRect(toolbar, &client);
        const std::vector<Rgb> rows =
            HeaderRowColours({GetRValue(face), GetGValue(face), GetBValue(face)}, client.bottom);
        ASSERT_FALSE(rows.empty());
        HDC dc = GetDC(toolbar);
        for (int y : {0, static_cast<int>(client.bottom) - 1}) {
            const COLORREF pixel = GetPixel(dc, client.right - 2, y);
            const Rgb& want = rows[static_cast<std::size_t>(y)];
            EXPECT_EQ(pixel, RGB(want.red, want.green, want.blue)) << "row " << y;
        }
        ReleaseDC(toolbar, dc);
    };
    script.Do([&] { expectHeader(saved); });
    script.Do([&] {
        const COLORREF grey = RGB(192, 192, 192);
        SetSysColors(1, &element, &grey);
    });
    script.Do([&] {
        expectHeader(RGB(192, 192, 192));
        SetSysColors(1, &element, &saved);
        PostMessageA(window.Window(), WM_CLOSE, 0, 0);
    });
    script.Rescue([&] { SetSysColors(1, &element, &saved); });
    Run(window, script);
    EXPECT_EQ(GetSysColor(element), saved);
}

TEST_F(MainWindowTest, SplashWithoutAPictureClosesOnItsTimerOrAClick) {
    struct Row {
        bool logon;
        UINT closing;
    };
    for (const Row& row : {Row{false, WM_TIMER}, Row{false, WM_LBUTTONDOWN}, Row{true, 0}}) {
        MainWindow window(row.logon);
        MessageScript script;
        script.Do([&] {
            HWND splash = SplashOf(window.Window());
            if (row.logon) {
                EXPECT_EQ(splash, nullptr);
                return;
            }
            ASSERT_NE(splash, nullptr);
            RECT rect{};
            GetWindowRect(splash, &rect);
            // No picture in this program: the text area of the 300 x 0 default.
            EXPECT_EQ(rect.right - rect.left, 304);
            EXPECT_EQ(rect.bottom - rect.top, 88);
            EXPECT_TRUE(IsWindowVisible(splash));
            PostMessageA(splash, row.closing, 1, 0);
        });
        script.Do([&] {
            EXPECT_EQ(SplashOf(window.Window()), nullptr) << "message " << row.closing;
            EXPECT_TRUE(IsWindow(window.Window()));
            PostMessageA(window.Window(), WM_CLOSE, 0, 0);
        });
        Run(window, script);
    }
}

}  // namespace
