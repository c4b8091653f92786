#include "Panels/PanelGeometry.hpp"

#include <gtest/gtest.h>

using namespace kelvo::panels;

namespace {

// A 1440 × 900 screen whose lowest 30 points are taken by a dock.
const Screen laptop{{0, 0, 1440, 900}, {0, 30, 1440, 845}};

} // namespace

TEST(PanelGeometry, PanelsGoBelowTheCaretLineAndStayOnScreen) {
    // Room below: 6 points under the line.
    EXPECT_EQ(panelOrigin({200, 500, 2, 18}, 300, 40, laptop), (Point{200, 454}));
    // Near the bottom: above the line instead.
    EXPECT_EQ(panelOrigin({200, 50, 2, 18}, 300, 40, laptop), (Point{200, 74}));
    // Near the right edge: shifted left to end at the visible frame's edge.
    EXPECT_EQ(panelOrigin({1400, 500, 2, 18}, 300, 40, laptop), (Point{1140, 454}));
    // Left of the screen and above its top: clamped into the visible frame.
    EXPECT_EQ(panelOrigin({-50, 2000, 2, 18}, 300, 40, laptop), (Point{0, 835}));
    // No screen information: at the caret, without clamping.
    EXPECT_EQ(panelOrigin({1400, 10, 2, 18}, 300, 40, std::nullopt), (Point{1400, -36}));
}

TEST(PanelGeometry, StripCapsOnlyTheLongestCells) {
    EXPECT_EQ(stripWidths({40, 50, 60}, 200), (std::vector<double>{40, 50, 60}));
    // Nine long candidates on a narrow strip share it evenly; short ones keep their width.
    std::vector<double> natural(9, 200);
    natural[0] = 40;
    auto widths = stripWidths(natural, 600);
    EXPECT_EQ(widths[0], 40);
    double sum = 0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        sum += widths[i];
        if (i > 0) {
            EXPECT_EQ(widths[i], widths[1]);
        }
    }
    EXPECT_LE(sum + 2 * 8, 600);
    EXPECT_GT(sum + 2 * 8, 599); // the cap is as large as fits
    EXPECT_EQ(stripWidths({100, 100}, 0), (std::vector<double>{0, 0}));
    EXPECT_TRUE(stripWidths({}, 100).empty());
}

// IBus clients report the caret in device pixels; Qt places panels in logical pixels.
TEST(PanelGeometry, CaretsInDevicePixelsLandWhereTheyAreOnScaledScreens) {
    using kelvo::platform::logicalFromDevicePixels;
    using kelvo::platform::ScaledScreen;
    for (double scale : {1.0, 1.25, 1.5, 2.0}) {
        // A 2560 × 1600 device screen shown as 2560/scale logical pixels wide.
        std::vector<ScaledScreen> one = {{{0, 0, 2560 / scale, 1600 / scale}, scale}};
        const Rect caret = logicalFromDevicePixels({1000, 800, 2, 40}, one);
        EXPECT_DOUBLE_EQ(caret.x, 1000 / scale) << scale;
        EXPECT_DOUBLE_EQ(caret.y, 800 / scale) << scale;
        EXPECT_DOUBLE_EQ(caret.height, 40 / scale) << scale;
    }
    // A plain screen on the left and a screen at 200 % on its right: the right one's corner is at
    // the same place in both units, and its pixels count half from there.
    std::vector<ScaledScreen> two = {{{0, 0, 1920, 1080}, 1.0}, {{1920, 0, 1280, 720}, 2.0}};
    EXPECT_EQ(logicalFromDevicePixels({300, 200, 2, 20}, two), (Rect{300, 200, 2, 20}));
    EXPECT_EQ(logicalFromDevicePixels({1920 + 1000, 600, 2, 40}, two), (Rect{1920 + 500, 300, 1, 20}));
    // Outside every screen: measured against the first.
    EXPECT_EQ(logicalFromDevicePixels({-100, 50, 2, 20}, two), (Rect{-100, 50, 2, 20}));
    EXPECT_EQ(logicalFromDevicePixels({5, 6, 7, 8}, {}), (Rect{5, 6, 7, 8}));
}
