// The picture panel (window class "LAW"): the product picture with the name and version under
// it. Shown as the splash at start and as the top of the about box.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include "resource_ids.h"
#include "ui/dialog_base_win32.h"

constexpr UINT_PTR kSplashTimerId = 1;
constexpr UINT kSplashMilliseconds = 7000;

// The object behind a "LAW" window, found through the window's user data. The window handle is
// cleared when the window goes.
struct PicturePanel {
    bool aboutMode = false;
    HWND window = nullptr;
};

// Registers the "LAW" class; a second registration fails harmlessly.
void RegisterPanelClass();
// Binds the panel object to a "LAW" window.
void BindPanel(PicturePanel& panel, HWND window, bool aboutMode);

// Owns one loaded picture object and releases it.
class ProductPicture {
  public:
    ProductPicture();
    ~ProductPicture();
    ProductPicture(const ProductPicture&) = delete;
    ProductPicture& operator=(const ProductPicture&) = delete;
    // The picture's bitmap; null when it could not be loaded.
    HBITMAP Bitmap() const;

  private:
    IPicture* picture_ = nullptr;
};

// The product picture (resource type 800, id 1) as a picture object, or null.
IPicture* LoadProductPicture();
// Its width and height; 300 x 0 when the picture cannot be read.
SIZE PictureSize();

// Opens the splash over owner: centred, closed after 7 s, by a click or with its owner.
void ShowSplash(PicturePanel& panel, HWND owner);

// The about box "LAbout": the panel, "Go to Web Page..." and OK.
class AboutBox : public DialogBase {
  public:
    void OnInit() override;
    void OnCommand(WPARAM wParam, WORD notifyCode) override;
    static LPCSTR Template() { return "LAbout"; }

  private:
    PicturePanel panel_;
};

void ShowAboutBox(HWND owner);
