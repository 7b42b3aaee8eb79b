#pragma once
// Where the on-screen keyboard window stands and where its keys are inside it, in pixels: under
// the main window and as wide as the room there allows, above it when there is no room below,
// always on the screen.
#include "progress/key_map.h"

namespace dactyla {

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const PixelRect&) const = default;
};

// The window in key units: the keyboard with a margin of a quarter key around it, and the line
// that names the finger below it.
inline constexpr double kKeyMargin = 0.25;
inline constexpr double kFingerLineInKeys = 0.75;
inline constexpr double kWindowWidthInKeys = kKeyboardWidthInKeys + 2 * kKeyMargin;
inline constexpr double kWindowHeightInKeys = kKeyboardHeightInKeys + 3 * kKeyMargin + kFingerLineInKeys;
// Legends stay readable down to this key size; above the larger one the keyboard stops growing.
inline constexpr int kSmallestKeyPixels = 22;
inline constexpr int kLargestKeyPixels = 64;

struct KeyboardPlacement {
    PixelRect window;  // screen coordinates
    int keyPixels = kSmallestKeyPixels;
    bool operator==(const KeyboardPlacement&) const = default;
};

// `mainWindow` and `workArea` in screen coordinates.
KeyboardPlacement placeKeyboard(const PixelRect& mainWindow, const PixelRect& workArea);

// A key's cap inside the window's client area, with a gap to its neighbours.
PixelRect keyCapRect(const KeyPlace& key, int keyPixels);
// The finger line under the keys, inside the client area.
PixelRect fingerLineRect(int keyPixels);

}  // namespace dactyla
