#include "app/layout.h"

#include <gtest/gtest.h>

namespace dactyla::app {
namespace {

TEST(Layout, StripFontHeightMatchesOnlyExactScreenWidths) {
    EXPECT_EQ(stripFontHeight(640), 33);
    EXPECT_EQ(stripFontHeight(800), 40);
    EXPECT_EQ(stripFontHeight(1024), 53);
    EXPECT_EQ(stripFontHeight(1152), 60);
    EXPECT_EQ(stripFontHeight(1280), 67);
    EXPECT_EQ(stripFontHeight(1600), 72);
    EXPECT_EQ(smallFontHeight(stripFontHeight(1600)), 36);
    EXPECT_EQ(stripFontHeight(1920), 40);
    EXPECT_EQ(stripFontHeight(1601), 40);
    EXPECT_EQ(smallFontHeight(stripFontHeight(1920)), 20);
    EXPECT_EQ(smallFontHeight(33), 16);
}

TEST(Layout, WindowTakesTheSameShareOfEveryScreen) {
    const RECT small = windowRectFor(800, 600);
    EXPECT_EQ(small.left, 25);
    EXPECT_EQ(small.top, 150);
    EXPECT_EQ(small.right - small.left, 750);
    EXPECT_EQ(small.bottom - small.top, 300);

    // Width is multiplied before dividing: 1366 * 15 / 16 = 1280, not 1366 / 16 * 15 = 1275.
    const RECT odd = windowRectFor(1366, 768);
    EXPECT_EQ(odd.left, 42);
    EXPECT_EQ(odd.right - odd.left, 1280);
    EXPECT_EQ(odd.bottom - odd.top, 384);
}

TEST(Layout, StripIsCentredAndSplitAtTheMiddleAndClockSitsInTheCorner) {
    const Layout layout = computeLayout(745, 255, SIZE {360, 45}, SIZE {60, 20});
    EXPECT_EQ(layout.clientWidth, 745);
    EXPECT_EQ(layout.clientHeight, 255);
    // half = 372, top = (255 - 45) / 2 = 105.
    EXPECT_EQ(layout.typedRect.left, 12);
    EXPECT_EQ(layout.typedRect.right, 372);
    EXPECT_EQ(layout.toTypeRect.left, 372);
    EXPECT_EQ(layout.toTypeRect.right, 732);
    EXPECT_EQ(layout.typedRect.top, 105);
    EXPECT_EQ(layout.typedRect.bottom, 150);
    EXPECT_EQ(layout.toTypeRect.top, 105);
    EXPECT_EQ(layout.toTypeRect.bottom, 150);
    EXPECT_EQ(layout.clockRect.left, 683);
    EXPECT_EQ(layout.clockRect.top, 2);
    EXPECT_EQ(layout.clockRect.right, 743);
    EXPECT_EQ(layout.clockRect.bottom, 22);
}

TEST(Layout, FrameBarHasEqualMarginsOnOppositeSides) {
    const Layout layout = computeLayout(745, 255, SIZE {360, 45}, SIZE {60, 20});
    const RECT bar = frameBarRect(layout);
    // top = 105 * 0.95 = 99.75 -> 99; left = 12 * 0.75 = 9.
    EXPECT_EQ(bar.top, 99);
    EXPECT_EQ(bar.bottom, 150 + 6);
    EXPECT_EQ(bar.left, 9);
    EXPECT_EQ(bar.right, 732 + 3);
}

TEST(Layout, PointerRestsOnTheFirstMenuItem) {
    const POINT park = parkPoint(RECT {25, 150, 775, 450}, 19, 19);
    EXPECT_EQ(park.x, 65);
    EXPECT_EQ(park.y, 150 + 19 + 9);
}

// What a program unaware of scaling would place, in pixels of the real DPI: at 96 nothing moves.
TEST(Layout, ScaledWindowIsTheUnscaledOneTimesTheDpi) {
    struct Case {
        int dpi;
        SIZE screenInUnits;
        RECT expected;
    };
    const Case cases[] = {
        {96, {800, 600}, {25, 150, 775, 450}},
        {96, {1366, 768}, {42, 192, 42 + 1280, 192 + 384}},
        {144, {800, 600}, {38, 225, 38 + 1125, 225 + 450}},  // 1200 x 900 at 150 %
        {120, {1536, 864}, {60, 270, 60 + 1800, 270 + 540}},  // 1920 x 1080 at 125 %
        {192, {960, 540}, {60, 270, 60 + 1800, 270 + 540}},   // 1920 x 1080 at 200 %
    };
    for (const Case& c : cases) {
        const RECT rect = scaledWindowRect(c.screenInUnits, Dpi {c.dpi});
        EXPECT_EQ(rect.left, c.expected.left) << c.dpi;
        EXPECT_EQ(rect.top, c.expected.top) << c.dpi;
        EXPECT_EQ(rect.right, c.expected.right) << c.dpi;
        EXPECT_EQ(rect.bottom, c.expected.bottom) << c.dpi;
    }
    EXPECT_EQ(Dpi {144}.scale(33), 50) << "rounded to the nearest pixel";
    EXPECT_EQ(Dpi {144}.unscale(1200), 800);
    EXPECT_EQ(Dpi {}.scale(40), 40);
    EXPECT_FALSE(Dpi {}.scaled());
}

TEST(Layout, MarginsAndThePointerOffsetScaleWithTheDpi) {
    const Layout layout = computeLayout(1117, 382, SIZE {540, 68}, SIZE {90, 30}, Dpi {144});
    EXPECT_EQ(layout.clockRect.left, 1117 - 3 - 90);
    EXPECT_EQ(layout.clockRect.top, 3);
    EXPECT_EQ(layout.clockRect.right, 1114);
    EXPECT_EQ(layout.clockRect.bottom, 33);
    EXPECT_EQ(layout.typedRect.right, 558);
    EXPECT_EQ(layout.typedRect.top, (382 - 68) / 2);
    const POINT park = parkPoint(RECT {38, 225, 1163, 675}, 28, 28, Dpi {144});
    EXPECT_EQ(park.x, 38 + 60);
    EXPECT_EQ(park.y, 225 + 28 + 14);
}

TEST(Layout, ColoursFollowThePictureColumns) {
    const WindowColours bitmap = coloursFor(1);
    EXPECT_EQ(bitmap.labelText, 0x00ACACu);
    EXPECT_EQ(bitmap.labelBackground, 0x5D675Du);
    EXPECT_EQ(bitmap.frameBar, 0x859021u);
    EXPECT_EQ(bitmap.clockText, 0x00ACACu);
    EXPECT_EQ(bitmap.clockBackground, 0x887E60u);

    const WindowColours second = coloursFor(2);
    EXPECT_EQ(second.labelBackground, 0x4B6976u);
    EXPECT_EQ(second.frameBar, 0x75754Du);
    EXPECT_EQ(second.clockBackground, 0x516F80u);

    const WindowColours desktop = coloursFor(0);
    EXPECT_EQ(desktop.labelBackground, 0x4B6976u);
    EXPECT_EQ(desktop.frameBar, 0x859021u);
    EXPECT_EQ(desktop.clockBackground, 0x516F80u);
}

}  // namespace
}  // namespace dactyla::app
