// The about box inside the test program, with the product picture in its resources.
#include "app/picture_panel_win32.h"

#include <gtest/gtest.h>

#include "app/layout.h"
#include "settings/system_checks.h"
#include "support/browser_log_win32.h"
#include "support/message_script.h"

namespace {

BOOL CALLBACK MatchAbout(HWND window, LPARAM context) {
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    if (lstrcmpA(title, "Quillmet") != 0) return TRUE;
    *reinterpret_cast<HWND*>(context) = window;
    return FALSE;
}

HWND FindAbout() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &MatchAbout, reinterpret_cast<LPARAM>(&found));
    return found;
}

RECT ClientRectOf(HWND parent, int id) {
    RECT rect{};
    GetWindowRect(GetDlgItem(parent, id), &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST(AboutBox, FitsThePictureKeepsItsPanelOnAClickAndOpensTheProductPage) {
    BrowserLog log;
    ASSERT_TRUE(log.Available()) << "QM_BROWSER_LOG is not set";
    char address[kSitePageAddressSize];
    ASSERT_TRUE(FormSitePageAddress("counter/index", address));
    const int opened = log.Count(address);
    const SIZE picture = PictureSize();
    EXPECT_EQ(picture.cx, 340);
    EXPECT_EQ(picture.cy, 198);

    HWND about = nullptr;
    MessageScript script;
    script.WaitFor("the about box", [&] { return (about = FindAbout()) != nullptr; });
    script.Do([&] {
        RECT ten{0, 0, 0, 10};
        MapDialogRect(about, &ten);
        const AboutGeometry want = AboutBoxGeometry(340, 198, ten.bottom);
        for (auto [id, box] : {std::pair{IDC_ABOUT_PANEL, want.panel},
                               {IDC_ABOUT_WEB_PAGE, want.webButton}, {IDOK, want.okButton}}) {
            const RECT rect = ClientRectOf(about, id);
            EXPECT_EQ(rect.left, box.left) << id;
            EXPECT_EQ(rect.top, box.top) << id;
            EXPECT_EQ(rect.right - rect.left, box.width) << id;
            EXPECT_EQ(rect.bottom - rect.top, box.height) << id;
        }
        RECT client{};
        GetClientRect(about, &client);
        EXPECT_EQ(client.right, 340);
        EXPECT_EQ(client.bottom, 198 + ten.bottom + 112);
        PostMessageA(GetDlgItem(about, IDC_ABOUT_PANEL), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        PostMessageA(GetDlgItem(about, IDC_ABOUT_PANEL), WM_TIMER, 1, 0);
    });
    script.Do([&] {
        EXPECT_TRUE(IsWindow(GetDlgItem(about, IDC_ABOUT_PANEL)));
        PostMessageA(about, WM_COMMAND, IDC_ABOUT_WEB_PAGE, 0);
    });
    script.WaitFor("the product page", [&] { return log.Count(address) > opened; });
    script.Do([&] { PostMessageA(about, WM_COMMAND, IDOK, 0); });
    script.Rescue([&] { EndDialog(about, IDCANCEL); });
    script.Start();
    ShowAboutBox(nullptr);
    script.Stop();
    EXPECT_TRUE(script.Completed());
    EXPECT_FALSE(IsWindow(about));
}

}  // namespace
