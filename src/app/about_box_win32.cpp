#include "app/about_box_win32.h"

#include <utility>

#include "app/layout.h"
#include "resource_ids.h"
#include "settings/site_pages_win32.h"

void AboutBox::OnInit() {
    BindPanel(panel_, GetDlgItem(window_, IDC_ABOUT_PANEL), true);
    const SIZE picture = PictureSize();
    const AboutGeometry geometry =
        AboutBoxGeometry(picture.cx, picture.cy, DialogUnitsToPixels(*this, 10));
    const std::pair<int, Box> places[] = {{IDC_ABOUT_WEB_PAGE, geometry.webButton},
                                          {IDOK, geometry.okButton},
                                          {IDC_ABOUT_PANEL, geometry.panel}};
    for (const auto& [id, box] : places) {
        MoveControl(*this, id, box.left, box.top, box.width, box.height);
    }
    // The client area takes the new size; the top-left corner stays.
    RECT frame{};
    RECT client{};
    GetWindowRect(window_, &frame);
    GetClientRect(window_, &client);
    const int width = geometry.client.width + (frame.right - frame.left) - client.right;
    const int height = geometry.client.height + (frame.bottom - frame.top) - client.bottom;
    SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
}

void AboutBox::OnCommand(WPARAM wParam, WORD) {
    if (LOWORD(wParam) == IDC_ABOUT_WEB_PAGE) OpenSitePage("counter/index");
}

void ShowAboutBox(HWND owner) {
    RegisterPanelClass();
    AboutBox about;
    RunModal(about, owner, AboutBox::Template());
}
