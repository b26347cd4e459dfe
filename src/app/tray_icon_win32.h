// The program's icon in the notification area, and its menu.
#pragma once

#include <windows.h>

// The icon's callback message to the main window, and its id.
constexpr UINT kTrayCallbackMessage = WM_APP + 103;  // 32871
constexpr UINT kTrayIconId = 24;

class TrayIcon {
  public:
    TrayIcon() = default;
    ~TrayIcon() { Remove(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Adds the program's icon with the tip "Quillmet"; its mouse messages reach `window` as
    // kTrayCallbackMessage.
    void Add(HWND window);
    // Takes the icon away; nothing when it was not added.
    void Remove();
    // The tray menu at the cursor, "Open" its default item; its commands go to the window.
    void ShowMenu() const;

  private:
    HWND window_ = nullptr;
};
