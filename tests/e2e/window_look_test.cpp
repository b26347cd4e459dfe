// The look of the real program: the splash, the toolbar and its header, where every control
// and the window itself go, the toolbar switch and the about box.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "app/header_colours.h"
#include "app/layout.h"
#include "resource_ids.h"
#include "support/running_program.h"

namespace e2e {
namespace {

constexpr DWORD kBoundMs = 10000;

INT_PTR CALLBACK QuietProcedure(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Another process's window cannot convert dialog units: a dialog of the driver's own in the
// program's dialog font does.
DialogBaseUnits ProgramDialogUnits() {
    struct alignas(4) {
        DLGTEMPLATE dialog;
        WORD menu, windowClass, title, pointSize;
        wchar_t face[13];
    } form{{DS_SETFONT | WS_POPUP, 0, 0, 0, 0, 0, 0}, 0, 0, 0, 8, L"MS Shell Dlg"};
    HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &form.dialog, nullptr,
                                             &QuietProcedure, 0);
    RECT units{0, 0, 4, 8};
    MapDialogRect(dialog, &units);
    DestroyWindow(dialog);
    return {units.right, units.bottom};
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

RECT ClientRectOf(HWND parent, HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int ToolbarOffset(HWND window) {
    const RECT bar = ClientRectOf(window, GetDlgItem(window, IDC_TOOLBAR));
    return IsWindowVisible(GetDlgItem(window, IDC_TOOLBAR)) ? bar.bottom - bar.top + 4 : 0;
}

// Every control where the table and the offset d put it, and the client's size.
std::vector<RECT> ExpectLayout(HWND window, DialogBaseUnits base) {
    const int d = ToolbarOffset(window);
    std::vector<RECT> rects;
    for (std::size_t i = 0; i < kMainLayoutCount; ++i) {
        const RECT rect = ClientRectOf(window, GetDlgItem(window, kMainLayout[i].id));
        rects.push_back(rect);
        const Box want = PlaceControl(kMainLayout[i].units, base, d);
        // The status bar keeps itself at the client's foot.
        if (kMainLayout[i].id == IDC_STATUS_BAR) continue;
        EXPECT_TRUE(rect.left == want.left && rect.top == want.top &&
                    rect.right == want.left + want.width && rect.bottom == want.top + want.height)
            << "control " << kMainLayout[i].id << " at " << rect.left << "," << rect.top << " d "
            << d;
    }
    RECT client{};
    GetClientRect(window, &client);
    const Size size = MainClientSize(base, d);
    EXPECT_TRUE(client.right == size.width && client.bottom == size.height) << "d " << d;
    return rects;
}

Rgb ScreenPixel(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    HDC screen = GetDC(nullptr);
    const COLORREF pixel = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return {GetRValue(pixel), GetGValue(pixel), GetBValue(pixel)};
}

class WindowLookTest : public testing::Test {
  protected:
    void SetUp() override { DeleteProductSettings(); }
    void TearDown() override { DeleteProductSettings(); }
};

TEST_F(WindowLookTest, NormalStartShowsSplashToolbarHeaderLayoutAndAbout) {
    RunningProgram program("", true);
    const DWORD seen = GetTickCount();
    HWND window = program.window();
    ASSERT_NE(window, nullptr);
    const DialogBaseUnits base = ProgramDialogUnits();

    // The splash: untitled, owned, centred, gone by itself within 9 s.
    HWND splash = program.splash();
    ASSERT_NE(splash, nullptr) << "no splash after a normal start";
    EXPECT_EQ(GetWindowTextLengthW(splash), 0);
    RECT desktop{};
    RECT rect{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(splash, &rect);
    EXPECT_TRUE(rect.left == (desktop.right - 344) >> 1 &&
                rect.top == (desktop.bottom - 286) >> 1 && rect.right - rect.left == 344 &&
                rect.bottom - rect.top == 286)
        << rect.left << "," << rect.top << " to " << rect.right << "," << rect.bottom;
    const DWORD elapsed = GetTickCount() - seen;
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(splash); }, elapsed < 9000 ? 9000 - elapsed : 0))
        << "the splash is still open 9 s after it was seen";
    ASSERT_TRUE(IsWindow(window));

    // The toolbar along the client's top with its five buttons.
    HWND toolbar = GetDlgItem(window, IDC_TOOLBAR);
    EXPECT_EQ(ClassOf(toolbar), "ToolbarWindow32");
    const RECT bar = ClientRectOf(window, toolbar);
    EXPECT_TRUE(IsWindowVisible(toolbar) && bar.left == 0 && bar.top == 0);
    EXPECT_EQ(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 5);
    const int commands[] = {IDCMD_UPDATE_TEXT, IDCMD_ADD_TO_INVOICE, 0, IDCMD_SETTINGS,
                            IDCMD_HELP_CONTENTS};
    for (int i : {0, 1, 3, 4})
        EXPECT_EQ(SendMessageA(toolbar, TB_COMMANDTOINDEX, commands[i], 0), i);
    const std::vector<RECT> shown = ExpectLayout(window, base);

    // Screen pixels: the header's first and last rows at the toolbar's right end, a caption
    // box and a row caption where no text is drawn.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const std::vector<Rgb> rows =
        HeaderRowColours({GetRValue(face), GetGValue(face), GetBValue(face)}, bar.bottom - bar.top);
    ASSERT_FALSE(rows.empty());
    const int d = ToolbarOffset(window);
    const struct {
        const char* what;
        int x, y;
        Rgb want;
    } pixels[] = {
        {"header top", bar.right - 2, bar.top, rows.front()},
        {"header bottom", bar.right - 2, bar.bottom - 1, rows.back()},
        {"caption box", HorizontalPixels(5, base), d + VerticalPixels(5, base), {58, 94, 128}},
        {"row caption", HorizontalPixels(11, base), d + VerticalPixels(147, base), {127, 157, 185}},
    };
    for (const auto& pixel : pixels) {
        const Rgb got = ScreenPixel(window, pixel.x, pixel.y);
        EXPECT_TRUE(std::abs(got.red - pixel.want.red) <= 1 &&
                    std::abs(got.green - pixel.want.green) <= 1 &&
                    std::abs(got.blue - pixel.want.blue) <= 1)
            << pixel.what << ": " << got.red << "," << got.green << "," << got.blue;
    }

    // The toolbar switch, twice: hidden with everything up by d, then every rectangle back.
    SendMessageA(window, WM_COMMAND, IDCMD_SHOW_TOOLBAR, 0);
    EXPECT_EQ(ReadSetting(HKEY_CURRENT_USER, "Settings", "ShowToolBar"), "0");
    EXPECT_FALSE(IsWindowVisible(toolbar) || IsWindowVisible(GetDlgItem(window, IDC_TOOLBAR_RULE)));
    EXPECT_EQ(ExpectLayout(window, base)[2].top, shown[2].top - d);
    SendMessageA(window, WM_COMMAND, IDCMD_SHOW_TOOLBAR, 0);
    EXPECT_EQ(ReadSetting(HKEY_CURRENT_USER, "Settings", "ShowToolBar"), "1");
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, IDC_TOOLBAR_RULE)));
    const std::vector<RECT> again = ExpectLayout(window, base);
    EXPECT_TRUE(std::equal(again.begin(), again.end(), shown.begin(),
                           [](const RECT& a, const RECT& b) { return EqualRect(&a, &b); }));

    // The about box over the disabled main window; a click on its picture keeps it.
    PostMessageA(window, WM_COMMAND, IDCMD_ABOUT, 0);
    HWND about = nullptr;
    ASSERT_TRUE(
        WaitFor([&] { return (about = FindOwnedWindow(window, "#32770", "Quillmet")); }, kBoundMs));
    // Shown only once its set-up has placed the panel and the buttons.
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(about) != FALSE; }, kBoundMs));
    EXPECT_FALSE(IsWindowEnabled(window));
    HWND panel = GetDlgItem(about, IDC_ABOUT_PANEL);
    EXPECT_EQ(ClassOf(panel), "LAW");
    const RECT panelRect = ClientRectOf(about, panel);
    EXPECT_TRUE(panelRect.left == 0 && panelRect.top == 0 && panelRect.right == 340 &&
                panelRect.bottom == 286)
        << panelRect.left << "," << panelRect.top << "," << panelRect.right << ","
        << panelRect.bottom;
    for (auto [id, width] : {std::pair{IDOK, 100}, {IDC_ABOUT_WEB_PAGE, 140}}) {
        const RECT button = ClientRectOf(about, GetDlgItem(about, id));
        EXPECT_TRUE(button.top == 294 && button.right - button.left == width)
            << id << ": " << button.top << ", " << button.right - button.left;
    }
    SendMessageA(panel, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_TRUE(IsWindow(panel));
    ForgetOpenedPages();
    PressButton(about, IDC_ABOUT_WEB_PAGE);
    EXPECT_TRUE(
        WaitFor([] { return OpenedPages().find("/counter/index") != std::string::npos; }, kBoundMs))
        << "pages opened: " << OpenedPages();
    PressButton(about, IDOK);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(about) && IsWindowEnabled(window); }, kBoundMs));
}

TEST_F(WindowLookTest, StartsKeepTheWindowOnTheDesktopAndFollowTheToolbarSetting) {
    enum Edge { kLow, kHigh, kAsSet };
    const struct {
        const char* x;
        const char* y;
        const char* toolbar;
        const char* arguments;
        Edge horizontal, vertical;
    } rows[] = {
        {"5000", "5000", "1", "", kHigh, kHigh},
        {"-50", "-50", "0", "-logon", kLow, kLow},
        {"2147483647", "30", "1", "", kHigh, kAsSet},
    };
    for (const auto& row : rows) {
        WriteSetting("Settings", "X", row.x);
        WriteSetting("Settings", "Y", row.y);
        WriteSetting("Settings", "ShowToolBar", row.toolbar);
        RunningProgram program(row.arguments, true);
        HWND window = program.window();
        ASSERT_NE(window, nullptr) << row.x;
        RECT desktop{};
        RECT rect{};
        GetWindowRect(GetDesktopWindow(), &desktop);
        GetWindowRect(window, &rect);
        EXPECT_EQ(rect.left,
                  row.horizontal == kLow ? desktop.left : desktop.right - (rect.right - rect.left))
            << row.x;
        EXPECT_EQ(rect.top, row.vertical == kLow    ? desktop.top
                            : row.vertical == kHigh ? desktop.bottom - (rect.bottom - rect.top)
                                                    : 30)
            << row.y;
        const LONG style = GetWindowLongA(GetDlgItem(window, IDC_TOOLBAR), GWL_STYLE);
        EXPECT_EQ((style & WS_VISIBLE) != 0, row.toolbar[0] == '1') << row.x;

        // A log-on start has no splash; a click closes another at once, the window stays.
        HWND splash = program.splash();
        EXPECT_EQ(splash == nullptr, row.arguments[0] != '\0') << row.x;
        if (splash == nullptr) continue;
        PostMessageA(splash, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(splash); }, 2000));
        EXPECT_TRUE(IsWindow(window));
    }
}

}  // namespace
}  // namespace e2e
