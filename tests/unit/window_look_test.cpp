#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "app/header_colours.h"
#include "app/layout.h"
#include "resource_ids.h"

namespace {

void ExpectBox(const Box& got, const Box& want, const std::string& what) {
    EXPECT_EQ(got.left, want.left) << what;
    EXPECT_EQ(got.top, want.top) << what;
    EXPECT_EQ(got.width, want.width) << what;
    EXPECT_EQ(got.height, want.height) << what;
}

TEST(HeaderColours, RunFromLighterToDarkerFace) {
    struct Row {
        Rgb face;
        int height;
        Rgb first;
        Rgb last;
    };
    const Row rows[] = {
        // The classic grey face: 211 at the top towards 167; 43 of 44 steps are taken.
        {{192, 192, 192}, 44, {211, 211, 211}, {168, 168, 168}},
        // Each channel limited on its own: 1.1 x 240 passes 255, 1.1 x 100 does not.
        {{240, 100, 232}, 2, {255, 110, 255}, {231, 98, 228}},
        {{0, 0, 0}, 3, {0, 0, 0}, {0, 0, 0}},
        {{192, 192, 192}, 1, {211, 211, 211}, {211, 211, 211}},
    };
    for (const Row& row : rows) {
        const std::vector<Rgb> colours = HeaderRowColours(row.face, row.height);
        ASSERT_EQ(colours.size(), static_cast<size_t>(row.height));
        EXPECT_EQ(colours.front(), row.first) << "height " << row.height;
        EXPECT_EQ(colours.back(), row.last) << "height " << row.height;
    }
    EXPECT_TRUE(HeaderRowColours({192, 192, 192}, 0).empty());
    EXPECT_EQ(HeaderBottomColour({192, 192, 192}), (Rgb{167, 167, 167}));
}

TEST(WindowPlacement, StaysInsideTheDesktop) {
    const Box desktop{0, 0, 1280, 1024};
    const Size window{618, 560};
    struct Row {
        int x, y;
        Box expected;
    };
    const Row rows[] = {
        {120, 30, {120, 30, 618, 560}},     {5000, 5000, {662, 464, 618, 560}},
        {-50, -50, {0, 0, 618, 560}},       {INT_MAX, INT_MAX, {662, 464, 618, 560}},
        {INT_MIN, 100, {0, 100, 618, 560}}, {662, 464, {662, 464, 618, 560}},
    };
    for (const Row& row : rows) {
        ExpectBox(PlaceOnDesktop(row.x, row.y, window, desktop), row.expected,
                  std::to_string(row.x) + "," + std::to_string(row.y));
    }
    // A window larger than the desktop is cut to it and put at its corner.
    ExpectBox(PlaceOnDesktop(300, 300, {2000, 2000}, {10, 20, 800, 600}), {10, 20, 800, 600},
              "larger than the desktop");
}

const Box& UnitsOf(int id) {
    for (size_t i = 0; i < kMainLayoutCount; ++i) {
        if (kMainLayout[i].id == id) return kMainLayout[i].units;
    }
    static const Box none{};
    ADD_FAILURE() << "no control " << id;
    return none;
}

TEST(MainLayout, ControlsAndClientFollowBaseUnitsAndToolbar) {
    struct Row {
        DialogBaseUnits base;
        bool toolbar;
        int toolbarHeight;
        Size client;
        Box rule;   // 297
        Box edit;   // 101
        Box total;  // 206
    };
    const Row rows[] = {
        // d = 46: trunc(18.4) = 18 units are 27 pixels, taken as 27 units: 311 units high.
        {{6, 12}, true, 42, {612, 467}, {0, 43, 624, 2}, {6, 85, 606, 90}, {512, 414, 77, 18}},
        {{6, 12}, false, 42, {612, 426}, {0, -3, 624, 2}, {6, 39, 606, 90}, {512, 368, 77, 18}},
        {{6, 13}, true, 42, {612, 509}, {0, 43, 624, 2}, {6, 88, 606, 98}, {512, 444, 77, 20}},
        {{6, 13}, false, 42, {612, 462}, {0, -3, 624, 2}, {6, 42, 606, 98}, {512, 398, 77, 20}},
    };
    for (const Row& row : rows) {
        const int d = ToolbarOffset(row.toolbar, row.toolbarHeight);
        const Size client = MainClientSize(row.base, d);
        EXPECT_EQ(client.width, row.client.width);
        EXPECT_EQ(client.height, row.client.height) << row.base.y << " toolbar " << row.toolbar;
        const std::pair<int, Box> checks[] = {
            {IDC_TOOLBAR_RULE, row.rule}, {IDC_COUNTED_TEXT, row.edit}, {IDC_TOTAL, row.total}};
        for (const auto& [id, expected] : checks) {
            ExpectBox(PlaceControl(UnitsOf(id), row.base, d), expected,
                      std::to_string(id) + " base " + std::to_string(row.base.y));
        }
    }
    // Every control of the window is placed, the rule first.
    EXPECT_EQ(kMainLayoutCount, 43u);
    EXPECT_EQ(kMainLayout[0].id, IDC_TOOLBAR_RULE);
}

TEST(SplashAndAbout, FollowThePictureSize) {
    struct Row {
        int w, h, tenUnits;
        Box splash, panel, web, ok;
        Size client;
    };
    const Row rows[] = {
        {340,
         198,
         20,
         {468, 369, 344, 286},
         {0, 0, 340, 286},
         {4, 294, 140, 29},
         {234, 294, 100, 29},
         {340, 330}},
        // No picture: the defaults make a 304 x 88 splash.
        {kDefaultPictureWidth,
         kDefaultPictureHeight,
         22,
         {488, 468, 304, 88},
         {0, 0, 300, 88},
         {4, 96, 140, 31},
         {194, 96, 100, 31},
         {300, 134}},
    };
    for (const Row& row : rows) {
        const std::string what = "picture width " + std::to_string(row.w);
        ExpectBox(SplashPlacement(row.w, row.h, 1280, 1024), row.splash, what);
        const AboutGeometry about = AboutBoxGeometry(row.w, row.h, row.tenUnits);
        ExpectBox(about.panel, row.panel, what);
        ExpectBox(about.webButton, row.web, what);
        ExpectBox(about.okButton, row.ok, what);
        EXPECT_EQ(about.client.width, row.client.width);
        EXPECT_EQ(about.client.height, row.client.height);
    }
    // An odd leftover is halved with a shift, so a negative one rounds down.
    EXPECT_EQ(SplashPlacement(340, 198, 300, 200).left, -22);
    EXPECT_EQ(SplashPlacement(341, 198, 300, 281).top, -3);
}

}  // namespace
