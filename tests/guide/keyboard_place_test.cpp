#include "guide/keyboard_place.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace dactyla {
namespace {

struct PlaceCase {
    const char* name;
    PixelRect main;
    PixelRect screen;
    int keyPixels;
    bool below;  // else above
};

TEST(KeyboardPlace, StandsUnderTheMainWindowAsLargeAsTheRoomAllowsAndStaysOnTheScreen) {
    const PlaceCase cases[] = {
        // The main window as the program places it: at H / 4, W × 15 / 16 wide, H / 2 high.
        {"800 x 600", {25, 150, 775, 450}, {0, 0, 800, 600}, 23, true},
        {"1024 x 768", {32, 192, 992, 576}, {0, 0, 1024, 768}, 29, true},
        {"1600 x 1200", {50, 300, 1550, 900}, {0, 0, 1600, 1200}, 46, true},
        {"1920 x 1080", {60, 270, 1860, 810}, {0, 0, 1920, 1080}, 41, true},
        {"4K stops growing", {120, 540, 3720, 1620}, {0, 0, 3840, 2160}, kLargestKeyPixels, true},
        {"moved to the bottom", {25, 440, 775, 590}, {0, 0, 800, 600}, 50, false},
        {"no room anywhere", {25, 10, 775, 590}, {0, 0, 800, 600}, 1, true},
        {"a narrow main window", {100, 100, 300, 200}, {0, 0, 1600, 1200}, 13, true},
        {"half off the left edge", {-400, 150, 350, 450}, {0, 0, 800, 600}, 23, true},
    };
    for (const PlaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        const KeyboardPlacement placed = placeKeyboard(c.main, c.screen);
        const int expectedPixels = std::max(c.keyPixels, kSmallestKeyPixels);
        EXPECT_EQ(placed.keyPixels, expectedPixels);
        const PixelRect& window = placed.window;
        EXPECT_GE(window.left, c.screen.left);
        EXPECT_GE(window.top, c.screen.top);
        EXPECT_LE(window.right, c.screen.right);
        EXPECT_LE(window.bottom, c.screen.bottom);
        if (c.keyPixels >= kSmallestKeyPixels && c.main.left >= 0) {
            EXPECT_EQ(c.below ? window.top : window.bottom, c.below ? c.main.bottom : c.main.top);
            EXPECT_LE(std::abs(window.left + window.right - c.main.left - c.main.right), 1) << "centred under it";
        }
    }
}

TEST(KeyboardPlace, KeyCapsNeitherOverlapNorLeaveTheWindowAndTheFingerLineIsBelowThem) {
    for (const int keyPixels : {kSmallestKeyPixels, 23, 37, kLargestKeyPixels}) {
        const PixelRect client {0, 0, static_cast<int>(std::lround(kWindowWidthInKeys * keyPixels)),
                                static_cast<int>(std::lround(kWindowHeightInKeys * keyPixels))};
        for (const bool russian : {true, false}) {
            std::vector<PixelRect> caps;
            for (const KeyPlace& key : keyboardLayout(russian)) caps.push_back(keyCapRect(key, keyPixels));
            caps.push_back(keyCapRect(shiftKey(true), keyPixels));
            caps.push_back(keyCapRect(shiftKey(false), keyPixels));
            const PixelRect line = fingerLineRect(keyPixels);
            for (std::size_t a = 0; a < caps.size(); ++a) {
                EXPECT_GT(caps[a].width(), keyPixels * 3 / 4);
                EXPECT_GE(caps[a].left, client.left);
                EXPECT_LE(caps[a].right, client.right);
                EXPECT_LE(caps[a].bottom, line.top);
                for (std::size_t b = a + 1; b < caps.size(); ++b) {
                    const bool apart = caps[a].right <= caps[b].left || caps[b].right <= caps[a].left ||
                                       caps[a].bottom <= caps[b].top || caps[b].bottom <= caps[a].top;
                    EXPECT_TRUE(apart) << keyPixels << ": caps " << a << " and " << b;
                }
            }
            EXPECT_LE(line.bottom, client.bottom);
            EXPECT_GE(line.height(), keyPixels / 2);
        }
    }
}

}  // namespace
}  // namespace dactyla
