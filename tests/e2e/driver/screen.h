#pragma once
// What the program shows, read back from the screen: pixels, text drawn in a known font, the
// strip's characters, and screenshots saved for people to look at.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace dactyla::e2e {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // row by row, top-down
    COLORREF at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The screen inside `rect` (screen coordinates).
Image captureScreen(const RECT& rect);
// The client area of `window`, in client coordinates.
Image captureClient(HWND window);
// `text` drawn by DrawTextW in `font`, colours given, in a bitmap of exactly its extent.
Image renderText(const std::wstring& text, HFONT font, COLORREF textColour, COLORREF background);

// Icon `id` of Dactyla.exe's own resources loaded at `size` pixels and drawn on `background`.
Image renderProgramIcon(int id, int size, COLORREF background);

// Where `needle` lies in `haystack` comparing only which pixels are ink (darker than mid-grey),
// or nothing.
std::optional<POINT> findInk(const Image& haystack, const Image& needle);

// Whether the display is the one scripts/e2e.sh gives the pass of this size and DPI.
::testing::AssertionResult displayIs(int width, int height, int dpi);

// The rows of the strip's typed half (its light grey box) in the main window's client image,
// measured down the column just left of the middle: [top, bottom).
struct Rows {
    int top = 0;
    int bottom = 0;
};
Rows stripBoxRows(const Image& client);

// Saves the whole screen to artifacts/<name>.png.
bool saveScreenshot(const std::string& name);

// The fonts the program draws with, created the same way.
HFONT createStripFont(int screenWidth);
HFONT createSmallFont(int screenWidth);
int expectedStripFontHeight(int screenWidth);
// The height of a line of text in `font`, as the system lays it out.
int lineHeight(HFONT font);

// Reads the 30 characters of the strip from the screen, cell by cell, by comparing each
// cell with every candidate character drawn in the strip's font and colours.
class StripReader {
public:
    explicit StripReader(HWND window);
    ~StripReader();
    StripReader(const StripReader&) = delete;
    StripReader& operator=(const StripReader&) = delete;

    // The 15 characters still to type (black on white) and the 15 typed ones (grey).
    std::wstring readToType(const std::wstring& candidates) const;
    std::wstring readTyped(const std::wstring& candidates) const;

    RECT typedRect() const { return typedRect_; }
    RECT toTypeRect() const { return toTypeRect_; }
    int cellWidth() const { return cellWidth_; }

private:
    std::wstring readHalf(const Image& client, const RECT& half, const std::wstring& candidates, COLORREF text,
                          COLORREF background) const;

    HWND window_;
    HFONT font_ = nullptr;
    RECT typedRect_ {};
    RECT toTypeRect_ {};
    int cellWidth_ = 0;
};

}  // namespace dactyla::e2e
