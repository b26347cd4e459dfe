// The arithmetic of the main window's look: dialog units to pixels, the client size below the
// toolbar, where each control goes, where the window goes on the desktop, and the about box's
// geometry around the product picture. Platform-free: the shell measures, this computes.
#pragma once

#include <cstddef>

// The dialog base units of a window's font in pixels (what MapDialogRect scales by): a
// horizontal unit is x / 4 pixels, a vertical unit y / 8.
struct DialogBaseUnits {
    int x = 0;
    int y = 0;
};

// A rectangle as a position and a size, in whatever units the caller says.
struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct Size {
    int width = 0;
    int height = 0;
};

// One row of the main window's layout table, in dialog units, relative to the client area
// below the toolbar.
struct ControlPlace {
    int id;
    Box units;
};

// The table in placing order: the rule under the toolbar first, then every other control.
extern const ControlPlace kMainLayout[];
extern const std::size_t kMainLayoutCount;

// MapDialogRect's scaling of one value (rounded half away from zero, as MulDiv does).
int HorizontalPixels(int units, DialogBaseUnits base);
int VerticalPixels(int units, DialogBaseUnits base);
// Every field of the box converted (left and width horizontally, top and height vertically).
Box BoxToPixels(const Box& units, DialogBaseUnits base);

// The offset of the controls below the toolbar: its height plus 4 when it shows, else 0.
int ToolbarOffset(bool toolbarShown, int toolbarHeight);

// The client size for offset d: 408 by (284 + e) dialog units, where e is the vertical pixel
// size of trunc(0.4 d) units taken again as units. The double conversion is meant.
Size MainClientSize(DialogBaseUnits base, int offset);

// Where a control of the table goes, in client pixels: the converted box moved down by d.
Box PlaceControl(const Box& units, DialogBaseUnits base, int offset);

// Where the window goes: the wanted position kept inside the desktop's rectangle, the size
// limited to the desktop's. desktop is given as left, top, width, height.
Box PlaceOnDesktop(int x, int y, Size window, const Box& desktop);

// The picture size when the product picture cannot be read.
constexpr int kDefaultPictureWidth = 300;
constexpr int kDefaultPictureHeight = 0;

// The splash window's size and position for a picture of w x h, centred on a desktop whose
// right and bottom edges are given (halving with an arithmetic shift).
Box SplashPlacement(int pictureWidth, int pictureHeight, int desktopRight, int desktopBottom);

// The about box around a picture of w x h, with b the pixel height of 10 dialog units.
struct AboutGeometry {
    Box panel;
    Box webButton;
    Box okButton;
    Size client;
};
AboutGeometry AboutBoxGeometry(int pictureWidth, int pictureHeight, int tenUnitsHigh);
