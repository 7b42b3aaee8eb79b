#include "app/layout.h"

#include <array>
#include <utility>

namespace dactyla::app {

int stripFontHeight(int screenWidth) {
    constexpr std::array<std::pair<int, int>, 6> kHeights = {
        {{640, 33}, {800, 40}, {1024, 53}, {1152, 60}, {1280, 67}, {1600, 72}}};
    for (const auto& [width, height] : kHeights) {
        if (width == screenWidth) return height;
    }
    return 40;
}

RECT windowRectFor(int screenWidth, int screenHeight) {
    const int x = screenWidth / 32;
    const int y = screenHeight / 4;
    return {x, y, x + screenWidth * 15 / 16, y + screenHeight / 2};
}

RECT scaledWindowRect(SIZE screenInUnits, Dpi dpi) {
    const RECT units = windowRectFor(screenInUnits.cx, screenInUnits.cy);
    const int left = dpi.scale(units.left);
    const int top = dpi.scale(units.top);
    return {left, top, left + dpi.scale(units.right - units.left), top + dpi.scale(units.bottom - units.top)};
}

Layout computeLayout(int clientWidth, int clientHeight, SIZE stripExtent, SIZE clockExtent, Dpi dpi) {
    Layout layout;
    layout.clientWidth = static_cast<std::uint16_t>(clientWidth);
    layout.clientHeight = static_cast<std::uint16_t>(clientHeight);
    const int top = (clientHeight - stripExtent.cy) / 2;
    const int bottom = top + stripExtent.cy;
    const int half = clientWidth / 2;
    layout.typedRect = {half - stripExtent.cx, top, half, bottom};
    layout.toTypeRect = {half, top, half + stripExtent.cx, bottom};
    const int margin = dpi.scale(2);
    layout.clockRect = {clientWidth - margin - clockExtent.cx, margin, clientWidth - margin, margin + clockExtent.cy};
    return layout;
}

RECT frameBarRect(const Layout& layout) {
    const RECT& typed = layout.typedRect;
    const int top = static_cast<int>(typed.top * 0.95);
    const int left = static_cast<int>(typed.left * 0.75);
    return {left, top, layout.toTypeRect.right + (typed.left - left), typed.bottom + (typed.top - top)};
}

POINT parkPoint(const RECT& windowRect, int captionHeight, int menuHeight, Dpi dpi) {
    return {windowRect.left + dpi.scale(40), windowRect.top + captionHeight + menuHeight / 2};
}

WindowColours coloursFor(std::uint8_t picture) {
    const COLORREF labelText = RGB(172, 172, 0);
    switch (picture) {
    case 1:
        return {labelText, RGB(93, 103, 93), RGB(33, 144, 133), labelText, RGB(96, 126, 136)};
    case 2:
        return {labelText, RGB(118, 105, 75), RGB(77, 117, 117), labelText, RGB(128, 111, 81)};
    default:
        return {labelText, RGB(118, 105, 75), RGB(33, 144, 133), labelText, RGB(128, 111, 81)};
    }
}

}  // namespace dactyla::app
