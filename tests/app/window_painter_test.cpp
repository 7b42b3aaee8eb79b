#include "app/window_painter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dactyla::app {
namespace {

constexpr int kClientWidth = 744;
constexpr int kClientHeight = 254;

// A 32-bit bitmap to paint on, read back pixel by pixel.
class Canvas {
public:
    explicit Canvas(int width = kClientWidth, int height = kClientHeight)
        : width_(width), height_(height), dc_(::CreateCompatibleDC(nullptr)) {
        BITMAPINFO info {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        bitmap_.reset(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
        selection_ = std::make_unique<SelectionGuard>(dc_.get(), bitmap_.get());
    }
    HDC dc() const { return dc_.get(); }
    COLORREF at(int x, int y) const {
        ::GdiFlush();
        const std::uint32_t bgra = static_cast<const std::uint32_t*>(bits_)[y * width_ + x];
        return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
    }
    void clear() {
        const RECT all {0, 0, width_, height_};
        UniqueBrush blue(::CreateSolidBrush(RGB(0, 0, 255)));
        ::FillRect(dc_.get(), &all, blue.get());
    }
    int count(const RECT& rect, COLORREF colour) const {
        int found = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x) found += at(x, y) == colour;
        return found;
    }

private:
    int width_;
    int height_;
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    void* bits_ = nullptr;
    std::unique_ptr<SelectionGuard> selection_;
};

class WindowPainterTest : public ::testing::Test {
protected:
    void SetUp() override { painter_.setUp(canvas_.dc(), 800, kClientWidth, kClientHeight); }

    std::string strip(const std::string& typed, const std::string& toType) {
        std::string characters = std::string(15 - typed.size(), ' ') + typed + toType;
        characters.resize(30, ' ');
        return characters;
    }

    Canvas canvas_;
    WindowPainter painter_;
};

TEST_F(WindowPainterTest, FontsAndLayoutFollowTheScreen) {
    const Layout& layout = painter_.layout();
    EXPECT_EQ(layout.clientWidth, kClientWidth);
    EXPECT_EQ(layout.typedRect.right, kClientWidth / 2);
    EXPECT_EQ(layout.typedRect.bottom - layout.typedRect.top, 40) << "a 40-pixel strip font at 800 pixels";
    EXPECT_EQ((layout.toTypeRect.right - layout.toTypeRect.left) % 15, 0) << "15 whole character cells";
    LOGFONTW strip {};
    ASSERT_TRUE(::GetObjectW(painter_.stripFont(), sizeof strip, &strip));
    EXPECT_EQ(strip.lfHeight, 40);
    EXPECT_EQ(strip.lfWeight, 500);
    EXPECT_EQ(strip.lfCharSet, RUSSIAN_CHARSET);
    EXPECT_EQ(strip.lfPitchAndFamily, FIXED_PITCH | FF_MODERN);
    EXPECT_STREQ(strip.lfFaceName, L"Courier New");
    LOGFONTW small {};
    ASSERT_TRUE(::GetObjectW(painter_.smallFont(), sizeof small, &small));
    EXPECT_EQ(small.lfHeight, 20);
    EXPECT_EQ(small.lfWeight, 700);
    EXPECT_STREQ(small.lfFaceName, L"Lucida Console");

    painter_.releaseFonts();
    EXPECT_EQ(painter_.stripFont(), nullptr);
}

TEST_F(WindowPainterTest, StripHalvesPaintTheirOwnColours) {
    const std::string characters = strip("typed", "next to type");
    painter_.drawStrip(canvas_.dc(), characters.c_str());
    const Layout& layout = painter_.layout();
    RECT typed = layout.typedRect;
    RECT toType = layout.toTypeRect;
    const int typedArea = (typed.right - typed.left) * (typed.bottom - typed.top);
    const int toTypeArea = (toType.right - toType.left) * (toType.bottom - toType.top);
    EXPECT_GT(canvas_.count(typed, RGB(230, 230, 230)), typedArea / 2);
    EXPECT_GT(canvas_.count(typed, RGB(200, 200, 200)), 0) << "grey typed characters";
    EXPECT_EQ(canvas_.count(typed, RGB(255, 255, 255)), 0);
    EXPECT_GT(canvas_.count(toType, RGB(255, 255, 255)), toTypeArea / 2);
    EXPECT_GT(canvas_.count(toType, RGB(0, 0, 0)), 0) << "black characters to type";
    EXPECT_EQ(canvas_.count(toType, RGB(230, 230, 230)), 0);
}

// Sentences may hold '&' and line breaks: each is one character in its own cell.
TEST_F(WindowPainterTest, EveryCharacterKeepsItsCell) {
    const Layout& layout = painter_.layout();
    const int cell = (layout.toTypeRect.right - layout.toTypeRect.left) / 15;
    const RECT lastCell {layout.toTypeRect.right - cell, layout.toTypeRect.top, layout.toTypeRect.right,
                         layout.toTypeRect.bottom};
    const RECT firstCell {layout.toTypeRect.left, layout.toTypeRect.top, layout.toTypeRect.left + cell,
                          layout.toTypeRect.bottom};

    std::string characters = strip("", "W             W");
    painter_.drawStrip(canvas_.dc(), characters.c_str());
    const int inkOfW = canvas_.count(lastCell, RGB(0, 0, 0));
    ASSERT_GT(inkOfW, 0);

    characters = strip("", "&             W");
    canvas_.clear();
    painter_.drawStrip(canvas_.dc(), characters.c_str());
    EXPECT_GT(canvas_.count(firstCell, RGB(0, 0, 0)), 0);
    EXPECT_EQ(canvas_.count(lastCell, RGB(0, 0, 0)), inkOfW) << "'&' is shown, not taken as a mnemonic";

    characters = strip("", "a\r\nb          W");
    canvas_.clear();
    painter_.drawStrip(canvas_.dc(), characters.c_str());
    EXPECT_EQ(canvas_.count(lastCell, RGB(0, 0, 0)), inkOfW) << "a line break does not move the rest of the strip";
}

TEST_F(WindowPainterTest, ClockIsRightAlignedInItsCorner) {
    EXPECT_EQ(clockText(0, 0), " 0:00");
    EXPECT_EQ(clockText(7, 5), " 7:05");
    EXPECT_EQ(clockText(12, 59), "12:59");
    EXPECT_EQ(clockText(255, 0), "255:00");

    painter_.drawClock(canvas_.dc(), 7, 5, 1);
    const RECT clock = painter_.layout().clockRect;
    EXPECT_EQ(clock.right, kClientWidth - 2);
    EXPECT_EQ(clock.top, 2);
    const int area = (clock.right - clock.left) * (clock.bottom - clock.top);
    EXPECT_GT(canvas_.count(clock, RGB(96, 126, 136)), area / 2);
    EXPECT_GT(canvas_.count(clock, RGB(172, 172, 0)), 0);

    painter_.drawClock(canvas_.dc(), 7, 5, 0);
    EXPECT_GT(canvas_.count(clock, RGB(128, 111, 81)), area / 2) << "without the picture the clock box changes colour";
}

TEST_F(WindowPainterTest, PaintingDrawsLabelFrameClockAndStripOverTheBackground) {
    const std::string name = "Anna";
    const std::string characters = strip("", "Hello world.   ");
    WindowContent content;
    content.picture = 0;
    content.userName = &name;
    content.strip = characters.c_str();
    painter_.paint(canvas_.dc(), ::GetModuleHandleW(nullptr), content);

    const Layout& layout = painter_.layout();
    const RECT bar = frameBarRect(layout);
    EXPECT_EQ(canvas_.at(kClientWidth / 2, bar.top), RGB(33, 144, 133));
    EXPECT_EQ(canvas_.at(bar.left, kClientHeight / 2), RGB(33, 144, 133));
    EXPECT_EQ(canvas_.at(bar.right - 1, kClientHeight / 2), RGB(33, 144, 133));
    EXPECT_EQ(canvas_.at(layout.toTypeRect.right - 2, layout.toTypeRect.bottom - 2), RGB(255, 255, 255))
        << "the strip is drawn over the frame bar";

    // The label: a solid box from 5 pixels in, ending 2 pixels above the bottom.
    const RECT label {5, kClientHeight - 2 - 20, 45, kClientHeight - 2};
    EXPECT_GT(canvas_.count(label, RGB(118, 105, 75)), 0);
    EXPECT_GT(canvas_.count(label, RGB(172, 172, 0)), 0);
    EXPECT_EQ(canvas_.count(RECT {5, kClientHeight - 2, 45, kClientHeight}, RGB(118, 105, 75)), 0);
}

TEST_F(WindowPainterTest, PictureOneStretchesTheBackgroundBitmapAndMissingPicturesShowTheDesktop) {
    const std::string characters(30, ' ');
    WindowContent content;
    content.strip = characters.c_str();
    content.picture = 0;
    painter_.paint(canvas_.dc(), ::GetModuleHandleW(nullptr), content);
    const COLORREF desktopCorner = canvas_.at(1, 1);

    content.picture = 1;
    painter_.paint(canvas_.dc(), ::GetModuleHandleW(nullptr), content);
    const RECT top {0, 0, kClientWidth, 10};
    EXPECT_LT(canvas_.count(top, desktopCorner), kClientWidth * 10) << "the picture covers the desktop";
    EXPECT_EQ(canvas_.at(kClientWidth / 2, frameBarRect(painter_.layout()).top), RGB(33, 144, 133));

    content.picture = 2;  // no bitmap 141 among the resources
    painter_.paint(canvas_.dc(), ::GetModuleHandleW(nullptr), content);
    EXPECT_EQ(canvas_.at(1, 1), desktopCorner);
    EXPECT_EQ(canvas_.at(kClientWidth / 2, frameBarRect(painter_.layout()).top), RGB(77, 117, 117));
}

// At 144 DPI (150 %) on a 1200 x 900 screen the program works out the 800 x 600 window and draws
// it in real pixels: fonts, strip, clock and label one and a half times the 96-DPI ones.
TEST(WindowPainterScaled, FontsLayoutAndLabelGrowOneAndAHalfTimesAt144Dpi) {
    constexpr int kWidth = 1117;
    constexpr int kHeight = 382;
    Canvas small;
    WindowPainter unscaled;
    unscaled.setUp(small.dc(), 800, kClientWidth, kClientHeight);
    Canvas large(kWidth, kHeight);
    WindowPainter scaled;
    scaled.setUp(large.dc(), 800, kWidth, kHeight, Dpi {144});

    LOGFONTW font {};
    ASSERT_TRUE(::GetObjectW(scaled.stripFont(), sizeof font, &font));
    EXPECT_EQ(font.lfHeight, 60);
    ASSERT_TRUE(::GetObjectW(scaled.smallFont(), sizeof font, &font));
    EXPECT_EQ(font.lfHeight, 30);
    const Layout& layout = scaled.layout();
    const int width96 = unscaled.layout().toTypeRect.right - unscaled.layout().toTypeRect.left;
    const int width144 = layout.toTypeRect.right - layout.toTypeRect.left;
    EXPECT_NEAR(width144, width96 * 3 / 2, 15);
    EXPECT_EQ(width144 % 15, 0) << "15 whole cells";
    EXPECT_EQ(layout.typedRect.right, kWidth / 2);
    EXPECT_EQ(layout.clockRect.right, kWidth - 3);
    EXPECT_EQ(layout.clockRect.top, 3);

    const std::string name = "Anna";
    const std::string characters(30, ' ');
    WindowContent content;
    content.picture = 0;
    content.userName = &name;
    content.strip = characters.c_str();
    scaled.paint(large.dc(), ::GetModuleHandleW(nullptr), content);
    // The label box: from 8 pixels in (5 units), ending 3 pixels (2 units) above the bottom.
    const COLORREF box = RGB(118, 105, 75);
    EXPECT_GT(large.count(RECT {8, kHeight - 3 - 30, 9, kHeight - 3}, box), 15);
    EXPECT_EQ(large.count(RECT {7, 0, 8, kHeight}, box), 0);
    EXPECT_EQ(large.count(RECT {8, kHeight - 3, 60, kHeight}, box), 0);
    EXPECT_GT(large.count(RECT {8, kHeight - 3 - 30, 60, kHeight - 3}, RGB(172, 172, 0)), 0);
    EXPECT_EQ(large.at(kWidth / 2, frameBarRect(layout).top), RGB(33, 144, 133));
}

}  // namespace
}  // namespace dactyla::app
