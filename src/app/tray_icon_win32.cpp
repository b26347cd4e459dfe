#include "app/tray_icon_win32.h"

#include <shellapi.h>

#include <cstdio>

#include "resource_ids.h"
#include "ui/dialog_base_win32.h"

void TrayIcon::Add(HWND window) {
    window_ = window;
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window_;
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = static_cast<HICON>(
        LoadImageA(ProgramInstance(), MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 16, 16, 0));
    std::snprintf(data.szTip, sizeof data.szTip, "%s", "Quillmet");
    Shell_NotifyIconA(NIM_ADD, &data);
    // The shell keeps its own copy of the icon.
    if (data.hIcon != nullptr) DestroyIcon(data.hIcon);
}

void TrayIcon::Remove() {
    if (window_ == nullptr) return;
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window_;
    data.uID = kTrayIconId;
    Shell_NotifyIconA(NIM_DELETE, &data);
    window_ = nullptr;
}

void TrayIcon::ShowMenu() const {
    SetForegroundWindow(window_);
    HMENU menu = LoadMenuA(ProgramInstance(), MAKEINTRESOURCEA(IDM_TRAY_MENU));
    if (menu == nullptr) return;
    HMENU popup = GetSubMenu(menu, 0);
    SetMenuDefaultItem(popup, IDCMD_OPEN_FROM_TRAY, FALSE);
    POINT cursor{};
    GetCursorPos(&cursor);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window_, nullptr);
    DestroyMenu(menu);
}
