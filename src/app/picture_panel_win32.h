// The picture panel (window class "LAW"): the product picture with the name and version under
// it: the splash at start, and the top of the about box.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

constexpr char kPanelClass[] = "LAW";

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
