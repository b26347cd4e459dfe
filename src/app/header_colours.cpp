#include "app/header_colours.h"

namespace {

int Lighter(int channel) {
    const int scaled = static_cast<int>(1.1 * channel);
    return scaled > 255 ? 255 : scaled;
}

int Darker(int channel) { return static_cast<int>(0.87 * channel); }

}  // namespace

Rgb HeaderTopColour(Rgb face) {
    return {Lighter(face.red), Lighter(face.green), Lighter(face.blue)};
}

Rgb HeaderBottomColour(Rgb face) {
    return {Darker(face.red), Darker(face.green), Darker(face.blue)};
}

std::vector<Rgb> HeaderRowColours(Rgb face, int height) {
    std::vector<Rgb> rows;
    if (height <= 0) return rows;
    const Rgb top = HeaderTopColour(face);
    const Rgb bottom = HeaderBottomColour(face);
    // The steps accumulate row by row, as the header is drawn.
    double red = top.red, green = top.green, blue = top.blue;
    const double redStep = static_cast<double>(bottom.red - top.red) / height;
    const double greenStep = static_cast<double>(bottom.green - top.green) / height;
    const double blueStep = static_cast<double>(bottom.blue - top.blue) / height;
    rows.reserve(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        rows.push_back({static_cast<int>(red), static_cast<int>(green), static_cast<int>(blue)});
        red += redStep;
        green += greenStep;
        blue += blueStep;
    }
    return rows;
}
