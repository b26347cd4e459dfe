#include "app/splash_win32.h"

#include "app/layout.h"
#include "ui/dialog_base_win32.h"

void ShowSplash(PicturePanel& panel, HWND owner) {
    if (panel.window != nullptr) DestroyWindow(panel.window);
    const SIZE picture = PictureSize();
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    const Box place = SplashPlacement(picture.cx, picture.cy, desktop.right, desktop.bottom);
    // Topmost: the main window is shown and activated only after its set-up, and not every
    // platform lifts the owned windows above an owner that comes to the front.
    HWND window = CreateWindowExA(
        WS_EX_TOPMOST, kPanelClass, "", WS_POPUP | WS_VISIBLE | WS_DLGFRAME, place.left, place.top,
        place.width, place.height, owner, nullptr, ProgramInstance(), nullptr);
    if (window == nullptr) return;
    BindPanel(panel, window, false);
    UpdateWindow(window);
    SetTimer(window, kSplashTimerId, kSplashMilliseconds, nullptr);
}
