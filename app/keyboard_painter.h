#pragma once
// Draws the on-screen keyboard: the keys of the layout in their fingers' soft colours with the
// legends of the language, both Shifts, the space bar and the home-row marks, then the lit keys
// and the finger line. The keys are drawn once per layout and size into a bitmap of their own;
// a keystroke's redraw copies it, paints the few lit keys over it and puts the result on the
// screen in one copy, so nothing flickers.
#include <string>

#include "guide/keyboard_guide.h"
#include "guide/keyboard_place.h"
#include "shell/dpi.h"
#include "shell/handles.h"

namespace dactyla::app {

// A memory device context with a bitmap of its own selected for its whole life.
class Offscreen {
public:
    Offscreen() = default;
    ~Offscreen() { release(); }
    Offscreen(const Offscreen&) = delete;
    Offscreen& operator=(const Offscreen&) = delete;

    // False when the context or the bitmap cannot be made; the offscreen is then empty.
    bool create(HDC compatible, int width, int height);
    void release();
    HDC dc() const { return dc_.get(); }
    bool matches(int width, int height) const { return dc_ && width == width_ && height == height_; }

private:
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ original_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

class KeyboardPainter {
public:
    // The size of a key in 96-DPI units and the DPI it is drawn at; the fonts and the cached
    // keys follow them.
    void setKeySize(int keyPixels, Dpi dpi);
    int keyPixels() const { return keyPixels_; }
    Dpi dpi() const { return dpi_; }
    int width() const;
    int height() const;

    // The whole keyboard as `picture` lights it, onto `target` at (0, 0).
    void draw(HDC target, bool russian, const KeyboardPicture& picture);

private:
    bool prepare(HDC target, bool russian);
    void drawKeys(HDC dc, bool russian) const;
    void drawCap(HDC dc, const KeyPlace& key, Rgb fill, Rgb ink, bool strong) const;
    void drawFingerLine(HDC dc, const std::string& line) const;

    // 96-DPI units to real pixels.
    int px(int units) const { return dpi_.scale(units); }
    RECT toPixels(const PixelRect& units) const;

    int keyPixels_ = 0;
    Dpi dpi_;
    UniqueFont legendFont_;
    UniqueFont smallFont_;
    UniqueFont lineFont_;
    Offscreen keys_;  // the keys of `keysRussian_`, nothing lit
    bool keysRussian_ = false;
    bool keysReady_ = false;
    Offscreen frame_;  // the picture being composed
};

}  // namespace dactyla::app
