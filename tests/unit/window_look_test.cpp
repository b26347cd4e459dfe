#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "app/header_colours.h"
#include "app/layout.h"
#include "resource_ids.h"

namespace {

void ExpectBox(const Box& got, const Box& want, const std::string& what) {
    EXPECT_TRUE(got.left == want.left && got.top == want.top && got.width == want.width &&
                got.height == want.height)
        << what << ": " << got.left << "," << got.top << " " << got.width << "x" << got.height;
}

TEST(HeaderColours, RunFromLighterToDarkerFace) {
    const struct {
        Rgb face;
        int height;
        Rgb first, last;
    } rows[] = {
        // The classic grey: 211 towards 167, of which 43 of 44 steps are taken.
        {{192, 192, 192}, 44, {211, 211, 211}, {168, 168, 168}},
        // Each channel limited on its own: 1.1 x 240 passes 255, 1.1 x 100 does not.
        {{240, 100, 232}, 2, {255, 110, 255}, {231, 98, 228}},
        {{192, 192, 192}, 1, {211, 211, 211}, {211, 211, 211}},
    };
    for (const auto& row : rows) {
        const std::vector<Rgb> colours = HeaderRowColours(row.face, row.height);
        ASSERT_EQ(colours.size(), static_cast<size_t>(row.height));
        EXPECT_TRUE(colours.front() == row.first && colours.back() == row.last) << row.height;
    }
    EXPECT_TRUE(HeaderRowColours({192, 192, 192}, 0).empty());
    EXPECT_EQ(HeaderBottomColour({192, 192, 192}), (Rgb{167, 167, 167}));
}

TEST(WindowPlacement, StaysInsideTheDesktopWithoutOverflow) {
    const struct {
        int x, y;
        Box want;
    } rows[] = {
        {120, 30, {120, 30, 618, 560}},     {5000, 5000, {662, 464, 618, 560}},
        {-50, -50, {0, 0, 618, 560}},       {INT_MAX, INT_MAX, {662, 464, 618, 560}},
        {INT_MIN, 100, {0, 100, 618, 560}}, {662, 464, {662, 464, 618, 560}},
    };
    for (const auto& row : rows) {
        ExpectBox(PlaceOnDesktop(row.x, row.y, {618, 560}, {0, 0, 1280, 1024}), row.want,
                  std::to_string(row.x) + "," + std::to_string(row.y));
    }
    ExpectBox(PlaceOnDesktop(300, 300, {2000, 2000}, {10, 20, 800, 600}), {10, 20, 800, 600},
              "larger than the desktop");
}

TEST(MainLayout, ControlsAndClientFollowBaseUnitsAndToolbar) {
    const struct {
        DialogBaseUnits base;
        int d;
        Size client;
        Box rule, edit, total;  // 297, 101, 206
    } rows[] = {
        // d = 46: trunc(18.4) = 18 units are 27 pixels, taken as 27 units: 311 units high.
        {{6, 12}, 46, {612, 467}, {0, 43, 624, 2}, {6, 85, 606, 90}, {512, 414, 77, 18}},
        {{6, 12}, 0, {612, 426}, {0, -3, 624, 2}, {6, 39, 606, 90}, {512, 368, 77, 18}},
        {{6, 13}, 46, {612, 509}, {0, 43, 624, 2}, {6, 88, 606, 98}, {512, 444, 77, 20}},
        {{6, 13}, 0, {612, 462}, {0, -3, 624, 2}, {6, 42, 606, 98}, {512, 398, 77, 20}},
    };
    ASSERT_EQ(kMainLayoutCount, 43u);
    ASSERT_EQ(kMainLayout[0].id, IDC_TOOLBAR_RULE);
    for (const auto& row : rows) {
        const std::string what =
            "base " + std::to_string(row.base.y) + " d " + std::to_string(row.d);
        const Size client = MainClientSize(row.base, row.d);
        EXPECT_TRUE(client.width == row.client.width && client.height == row.client.height)
            << what << ": " << client.height;
        for (const auto& [id, want] : {std::pair{IDC_TOOLBAR_RULE, row.rule},
                                       {IDC_COUNTED_TEXT, row.edit},
                                       {IDC_TOTAL, row.total}}) {
            for (std::size_t i = 0; i < kMainLayoutCount; ++i) {
                if (kMainLayout[i].id == id) {
                    ExpectBox(PlaceControl(kMainLayout[i].units, row.base, row.d), want,
                              what + " control " + std::to_string(id));
                }
            }
        }
    }
}

}  // namespace
