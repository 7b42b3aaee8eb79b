#pragma once
// The geometry and colours of the main window, computed from the screen and the measured fonts.
#include <cstdint>

#include "platform/win32/windows_headers.h"
#include "shell/dpi.h"

namespace dactyla::app {

// The strip font's height for a screen width; only the listed widths match, others give 40.
int stripFontHeight(int screenWidth);
inline int smallFontHeight(int stripHeight) { return stripHeight / 2; }

// The window's place: a fixed share of the screen.
RECT windowRectFor(int screenWidth, int screenHeight);
// The same place worked out on the screen in 96-DPI units, in pixels at `dpi`: position and size
// are scaled apart, so the size is exactly the scaled size.
RECT scaledWindowRect(SIZE screenInUnits, Dpi dpi);

struct Layout {
    std::uint16_t clientWidth = 0;
    std::uint16_t clientHeight = 0;
    RECT typedRect {};   // the 15 typed characters, right-aligned
    RECT toTypeRect {};  // the 15 characters still to type
    RECT clockRect {};   // the clock, 2 pixels in from the top-right corner
};

// `stripExtent` is the size of 15 strip characters, `clockExtent` that of "00:00" in the small font,
// all in pixels at `dpi`; the clock's 2-unit margin is scaled to it.
Layout computeLayout(int clientWidth, int clientHeight, SIZE stripExtent, SIZE clockExtent, Dpi dpi = {});

// The coloured bar behind the strip, with equal margins on opposite sides.
RECT frameBarRect(const Layout& layout);

// Where the pointer rests while a session runs: on the menu bar over the first item.
POINT parkPoint(const RECT& windowRect, int captionHeight, int menuHeight, Dpi dpi = {});

struct WindowColours {
    COLORREF labelText;
    COLORREF labelBackground;
    COLORREF frameBar;
    COLORREF clockText;
    COLORREF clockBackground;
};
WindowColours coloursFor(std::uint8_t picture);

inline constexpr COLORREF kTypedText = RGB(200, 200, 200);
inline constexpr COLORREF kTypedBackground = RGB(230, 230, 230);
inline constexpr COLORREF kToTypeText = RGB(0, 0, 0);
inline constexpr COLORREF kToTypeBackground = RGB(255, 255, 255);

}  // namespace dactyla::app
