#include "app/layout.h"

#include <cstdint>

#include "resource_ids.h"

const ControlPlace kMainLayout[] = {
    {IDC_TOOLBAR_RULE, {0, -2, 416, 1}},       {IDC_STATUS_BAR, {0, 298, 397, 12}},
    {IDC_COUNTED_BOX, {4, 4, 88, 20}},         {IDC_COUNTED_CAPTION, {10, 10, 80, 10}},
    {IDC_COUNTED_TEXT, {4, 26, 404, 60}},      {IDC_PRICING_BOX, {4, 92, 88, 20}},
    {IDC_PRICING_CAPTION, {10, 98, 80, 10}},   {IDC_PANEL_FRAME, {4, 114, 400, 152}},
    {IDC_FIXED_COST_LABEL, {8, 121, 72, 12}},  {IDC_FIXED_COST, {91, 120, 66, 12}},
    {IDC_CHAR_CAPTION_BOX, {8, 140, 80, 20}},  {IDC_WORD_CAPTION_BOX, {8, 164, 80, 20}},
    {IDC_LINE_CAPTION_BOX, {8, 188, 80, 20}},  {IDC_CHAR_ROW_CAPTION, {10, 146, 68, 12}},
    {IDC_WORD_ROW_CAPTION, {10, 170, 68, 12}}, {IDC_LINE_ROW_CAPTION, {10, 194, 68, 12}},
    {IDC_ROW_FRAME_CHAR, {92, 140, 306, 20}},  {IDC_ROW_FRAME_WORD, {92, 164, 306, 20}},
    {IDC_ROW_FRAME_WIDTH, {92, 188, 306, 20}}, {IDC_ROW_FRAME_LINE, {92, 212, 306, 20}},
    {IDC_CHARACTERS_LABEL, {94, 146, 72, 12}}, {IDC_WORDS_LABEL, {94, 170, 72, 12}},
    {IDC_WIDTH_LABEL, {94, 194, 72, 12}},      {IDC_LINES_LABEL, {94, 216, 72, 12}},
    {IDC_CHARACTERS, {168, 144, 38, 12}},      {IDC_WORDS, {168, 168, 38, 12}},
    {IDC_WIDTH, {168, 192, 38, 12}},           {IDC_LINES, {168, 216, 38, 12}},
    {IDC_PER_CHAR_LABEL, {210, 146, 70, 12}},  {IDC_PER_WORD_LABEL, {210, 170, 70, 12}},
    {IDC_PER_LINE_LABEL, {210, 216, 70, 12}},  {IDC_PER_CHAR, {286, 144, 38, 12}},
    {IDC_PER_WORD, {286, 168, 38, 12}},        {IDC_PER_LINE, {286, 216, 38, 12}},
    {IDC_EQUALS_CHAR, {325, 146, 12, 12}},     {IDC_EQUALS_WORD, {325, 170, 12, 12}},
    {IDC_EQUALS_LINE, {325, 217, 12, 12}},     {IDC_EQUALS_TOTAL, {325, 247, 12, 12}},
    {IDC_CHAR_AMOUNT, {341, 144, 51, 12}},     {IDC_WORD_AMOUNT, {341, 168, 51, 12}},
    {IDC_LINE_AMOUNT, {341, 216, 51, 12}},     {IDC_TOTAL, {341, 245, 51, 12}},
    {IDC_TOTAL_LABEL, {267, 246, 67, 12}},
};
const std::size_t kMainLayoutCount = sizeof kMainLayout / sizeof kMainLayout[0];

namespace {

// value * numerator / divisor, rounded half away from zero (the platform's MulDiv).
int ScaleRounded(int value, int numerator, int divisor) {
    const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
    const std::int64_t half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor : (product - half) / divisor);
}

}  // namespace

int HorizontalPixels(int units, DialogBaseUnits base) { return ScaleRounded(units, base.x, 4); }

int VerticalPixels(int units, DialogBaseUnits base) { return ScaleRounded(units, base.y, 8); }

Box BoxToPixels(const Box& units, DialogBaseUnits base) {
    return {HorizontalPixels(units.left, base), VerticalPixels(units.top, base),
            HorizontalPixels(units.width, base), VerticalPixels(units.height, base)};
}

int ToolbarOffset(bool toolbarShown, int toolbarHeight) {
    return toolbarShown ? toolbarHeight + 4 : 0;
}

Size MainClientSize(DialogBaseUnits base, int offset) {
    const int extraUnits = VerticalPixels(static_cast<int>(0.4 * offset), base);
    return {HorizontalPixels(408, base), VerticalPixels(284 + extraUnits, base)};
}

Box PlaceControl(const Box& units, DialogBaseUnits base, int offset) {
    Box pixels = BoxToPixels(units, base);
    pixels.top += offset;
    return pixels;
}

Box PlaceOnDesktop(int x, int y, Size window, const Box& desktop) {
    Box placed{x, y, window.width, window.height};
    if (placed.width > desktop.width) placed.width = desktop.width;
    if (placed.height > desktop.height) placed.height = desktop.height;
    if (placed.left < desktop.left) placed.left = desktop.left;
    if (placed.top < desktop.top) placed.top = desktop.top;
    // Compared without adding the size: a saturated position must not overflow.
    const int right = desktop.left + desktop.width;
    const int bottom = desktop.top + desktop.height;
    if (placed.left > right - placed.width) placed.left = right - placed.width;
    if (placed.top > bottom - placed.height) placed.top = bottom - placed.height;
    return placed;
}

Box SplashPlacement(int pictureWidth, int pictureHeight, int desktopRight, int desktopBottom) {
    const int width = pictureWidth + 4;
    const int height = pictureHeight + 88;
    return {(desktopRight - width) >> 1, (desktopBottom - height) >> 1, width, height};
}

AboutGeometry AboutBoxGeometry(int pictureWidth, int pictureHeight, int tenUnitsHigh) {
    AboutGeometry geometry;
    const int buttonTop = pictureHeight + 96;
    const int buttonHeight = tenUnitsHigh + 9;
    geometry.webButton = {4, buttonTop, 140, buttonHeight};
    geometry.okButton = {pictureWidth - 106, buttonTop, 100, buttonHeight};
    geometry.panel = {0, 0, pictureWidth, pictureHeight + 88};
    geometry.client = {pictureWidth, pictureHeight + tenUnitsHigh + 112};
    return geometry;
}
