// The colours of the toolbar's shaded background (the header): from a little lighter than the
// button face at the top to a little darker at the bottom, one colour per pixel row.
#pragma once

#include <vector>

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
};

inline bool operator==(const Rgb& a, const Rgb& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// Top: 1.1 times each channel of the face, each limited to 255. Bottom: 0.87 times.
Rgb HeaderTopColour(Rgb face);
Rgb HeaderBottomColour(Rgb face);

// The colour of every row of a header `height` rows high: each channel starts at the top
// colour and adds (bottom - top) / height per row, truncated for each row. Empty for 0 rows.
std::vector<Rgb> HeaderRowColours(Rgb face, int height);
