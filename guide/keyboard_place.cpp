#include "guide/keyboard_place.h"

#include <algorithm>
#include <cmath>

namespace dactyla {
namespace {

int pixels(double keys, int keyPixels) { return static_cast<int>(std::lround(keys * keyPixels)); }

// The largest key that fits `width` × `height`, up to the largest one drawn.
int keyPixelsFor(int width, int height) {
    const double across = width / kWindowWidthInKeys;
    const double down = height / kWindowHeightInKeys;
    return std::min(kLargestKeyPixels, static_cast<int>(std::floor(std::min(across, down))));
}

int gapFor(int keyPixels) { return std::max(2, keyPixels / 12); }

}  // namespace

KeyboardPlacement placeKeyboard(const PixelRect& mainWindow, const PixelRect& workArea) {
    const int below = keyPixelsFor(mainWindow.width(), workArea.bottom - mainWindow.bottom);
    const int above = keyPixelsFor(mainWindow.width(), mainWindow.top - workArea.top);
    const bool under = below >= kSmallestKeyPixels || below >= above;
    const int keyPixels = std::max(kSmallestKeyPixels, under ? below : above);
    const int width = pixels(kWindowWidthInKeys, keyPixels);
    const int height = pixels(kWindowHeightInKeys, keyPixels);
    int left = mainWindow.left + (mainWindow.width() - width) / 2;
    int top = under ? mainWindow.bottom : mainWindow.top - height;
    // On the screen whatever the main window does; the left and top edges win on a tiny screen.
    left = std::max(workArea.left, std::min(left, workArea.right - width));
    top = std::max(workArea.top, std::min(top, workArea.bottom - height));
    return {{left, top, left + width, top + height}, keyPixels};
}

PixelRect keyCapRect(const KeyPlace& key, int keyPixels) {
    const int gap = gapFor(keyPixels);
    const int left = pixels(kKeyMargin + key.left, keyPixels);
    const int top = pixels(kKeyMargin + key.row, keyPixels);
    const int right = pixels(kKeyMargin + key.left + key.width, keyPixels) - gap;
    const int bottom = pixels(kKeyMargin + key.row + 1, keyPixels) - gap;
    return {left, top, right, bottom};
}

PixelRect fingerLineRect(int keyPixels) {
    const int top = pixels(2 * kKeyMargin + kKeyboardHeightInKeys, keyPixels);
    return {pixels(kKeyMargin, keyPixels), top, pixels(kKeyMargin + kKeyboardWidthInKeys, keyPixels),
            top + pixels(kFingerLineInKeys, keyPixels)};
}

}  // namespace dactyla
