#pragma once
// Everything the main window shows, drawn on a device context given by the caller: WM_PAINT
// and the immediate redraws of the strip and the clock go through the same routines.
#include <cstdint>
#include <string>

#include "app/layout.h"
#include "shell/handles.h"

namespace dactyla::app {

struct WindowContent {
    std::uint8_t picture = 1;               // 0: the desktop; otherwise bitmap 139 + picture
    const std::string* userName = nullptr;  // CP1251; null while no user is current
    const char* strip = nullptr;            // the 30 characters the strip shows
    std::uint8_t clockMinutes = 0;
    std::uint8_t clockSeconds = 0;
    const std::string* courseLine = nullptr;  // CP1251; shown under the strip in course mode
};

class WindowPainter {
public:
    // Creates the fonts for the screen width (in 96-DPI units) at `dpi` and measures the layout
    // with them on `dc`; the client size is in pixels. Called again when the DPI changes.
    void setUp(HDC dc, int screenWidth, int clientWidth, int clientHeight, Dpi dpi = {});
    void releaseFonts();

    const Layout& layout() const { return layout_; }
    Dpi dpi() const { return dpi_; }
    HFONT stripFont() const { return stripFont_.get(); }
    HFONT smallFont() const { return smallFont_.get(); }

    // The whole window, in this order: background, user label, clock, frame bar, strip.
    void paint(HDC dc, HINSTANCE instance, const WindowContent& content) const;
    // The first 15 characters typed (grey, right-aligned), the next 15 to type (black on white).
    void drawStrip(HDC dc, const char* characters) const;
    // "%2u:%.2u", right-aligned in the top-right corner.
    void drawClock(HDC dc, std::uint8_t minutes, std::uint8_t seconds, std::uint8_t picture) const;
    // The course's line, centred under the frame bar in the small font; an empty one clears it.
    void drawCourseLine(HDC dc, const std::string& line, std::uint8_t picture) const;
    RECT courseLineRect() const;

private:
    void paintBackground(HDC dc, HINSTANCE instance, std::uint8_t picture) const;
    void drawUserLabel(HDC dc, const std::string& name, std::uint8_t picture) const;
    void drawFrameBar(HDC dc, std::uint8_t picture) const;

    UniqueFont stripFont_;
    UniqueFont smallFont_;
    Layout layout_;
    Dpi dpi_;
};

// The clock's text, e.g. " 7:05" or "12:00".
std::string clockText(std::uint8_t minutes, std::uint8_t seconds);

}  // namespace dactyla::app
