#include "app/keyboard_painter.h"

#include <algorithm>
#include <cmath>

#include "guide/finger_names.h"
#include "guide/keyboard_place.h"
#include "platform/cp1251.h"

namespace dactyla::app {
namespace {

using UniquePen = UniqueHandle<GdiObjectTraits<HPEN>>;

constexpr COLORREF kBackground = RGB(0xF7, 0xF7, 0xF5);
constexpr COLORREF kFrame = RGB(0x9A, 0x9A, 0x9A);
constexpr COLORREF kCapBorder = RGB(0xA8, 0xA8, 0xA8);
constexpr Rgb kInk {0x30, 0x30, 0x30};
constexpr Rgb kLitInk {0xFF, 0xFF, 0xFF};
constexpr COLORREF kLineInk = RGB(0xB0, 0x20, 0x18);
// Legends of keys this size and larger show the Shift character too.
constexpr int kTwoLegendsFrom = 32;
constexpr const wchar_t* kShiftLegend = L"Shift";

COLORREF colourRef(const Rgb& colour) { return RGB(colour.red, colour.green, colour.blue); }

UniqueFont makeFont(int height, int weight) {
    return UniqueFont(::CreateFontW(-std::max(8, height), 0, 0, 0, weight, FALSE, FALSE, FALSE, RUSSIAN_CHARSET, 0,
                                    0, ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, L"Arial"));
}

void drawText(HDC dc, const std::wstring& text, RECT rect, UINT flags) {
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags | DT_NOPREFIX | DT_SINGLELINE);
}

std::wstring wide(char byte) {
    return std::wstring(1, static_cast<wchar_t>(platform::cp1251ByteToUtf16(static_cast<unsigned char>(byte))));
}

bool isLetterKey(const KeyPlace& key) { return keyLabel(key) != std::string(1, key.bytes[0]); }

}  // namespace

bool Offscreen::create(HDC compatible, int width, int height) {
    release();
    dc_.reset(::CreateCompatibleDC(compatible));
    bitmap_.reset(::CreateCompatibleBitmap(compatible, std::max(1, width), std::max(1, height)));
    if (!dc_ || !bitmap_) {
        release();
        return false;
    }
    original_ = ::SelectObject(dc_.get(), bitmap_.get());
    width_ = width;
    height_ = height;
    return true;
}

// The bitmap leaves the context before either is deleted.
void Offscreen::release() {
    if (dc_ && original_ != nullptr) ::SelectObject(dc_.get(), original_);
    original_ = nullptr;
    bitmap_.reset();
    dc_.reset();
    width_ = height_ = 0;
}

void KeyboardPainter::setKeySize(int keyPixels, Dpi dpi) {
    if (keyPixels == keyPixels_ && dpi.value == dpi_.value) return;
    keyPixels_ = keyPixels;
    dpi_ = dpi;
    legendFont_ = makeFont(px(keyPixels * 9 / 20), FW_SEMIBOLD);
    smallFont_ = makeFont(px(keyPixels * 7 / 20), FW_NORMAL);
    lineFont_ = makeFont(px(keyPixels * 9 / 20), FW_BOLD);
    keysReady_ = false;
}

int KeyboardPainter::width() const { return px(static_cast<int>(std::lround(kWindowWidthInKeys * keyPixels_))); }

int KeyboardPainter::height() const { return px(static_cast<int>(std::lround(kWindowHeightInKeys * keyPixels_))); }

RECT KeyboardPainter::toPixels(const PixelRect& units) const {
    return {px(units.left), px(units.top), px(units.right), px(units.bottom)};
}

void KeyboardPainter::draw(HDC target, bool russian, const KeyboardPicture& picture) {
    if (keyPixels_ == 0) return;
    const bool composed = prepare(target, russian);
    const HDC dc = composed ? frame_.dc() : target;
    if (composed)
        ::BitBlt(dc, 0, 0, width(), height(), keys_.dc(), 0, 0, SRCCOPY);
    else
        drawKeys(dc, russian);
    for (std::size_t k = 0; k < picture.litCount; ++k) {
        const LitKey& lit = picture.lit[k];
        drawCap(dc, *lit.key, fingerColour(lit.key->finger, lit.light), kLitInk, true);
    }
    drawFingerLine(dc, fingerLine(picture));
    if (composed) ::BitBlt(target, 0, 0, width(), height(), dc, 0, 0, SRCCOPY);
}

// The keys are drawn again only when the layout or the size changes. Without memory for the
// bitmaps everything is drawn straight onto the target.
bool KeyboardPainter::prepare(HDC target, bool russian) {
    if (!frame_.matches(width(), height()) && !frame_.create(target, width(), height())) return false;
    if (!keys_.matches(width(), height())) {
        keysReady_ = false;
        if (!keys_.create(target, width(), height())) return false;
    }
    if (!keysReady_ || keysRussian_ != russian) {
        drawKeys(keys_.dc(), russian);
        keysRussian_ = russian;
        keysReady_ = true;
    }
    return true;
}

void KeyboardPainter::drawKeys(HDC dc, bool russian) const {
    const RECT all {0, 0, width(), height()};
    const UniqueBrush background(::CreateSolidBrush(kBackground));
    ::FillRect(dc, &all, background.get());
    const UniqueBrush frame(::CreateSolidBrush(kFrame));
    ::FrameRect(dc, &all, frame.get());
    for (const KeyPlace& key : keyboardLayout(russian)) drawCap(dc, key, softFingerColour(key.finger), kInk, false);
    for (const bool left : {true, false}) {
        const KeyPlace& shift = shiftKey(left);
        drawCap(dc, shift, softFingerColour(shift.finger), kInk, false);
    }
}

void KeyboardPainter::drawCap(HDC dc, const KeyPlace& key, Rgb fill, Rgb ink, bool strong) const {
    const RECT cap = toPixels(keyCapRect(key, keyPixels_));
    const int round = px(std::max(3, keyPixels_ / 5));
    {
        const UniqueBrush brush(::CreateSolidBrush(colourRef(fill)));
        const UniquePen pen(::CreatePen(PS_SOLID, px(strong ? 2 : 1), strong ? colourRef(fill) : kCapBorder));
        const SelectionGuard selectedBrush(dc, brush.get());
        const SelectionGuard selectedPen(dc, pen.get());
        ::RoundRect(dc, cap.left, cap.top, cap.right, cap.bottom, round, round);
    }
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, colourRef(ink));
    const int inset = px(std::max(2, keyPixels_ / 10));
    const RECT inner {cap.left + inset, cap.top + inset / 2, cap.right - inset, cap.bottom - inset / 2};
    if (key.bytes.empty()) {
        const SelectionGuard font(dc, smallFont_.get());
        drawText(dc, kShiftLegend, inner, DT_CENTER | DT_VCENTER);
    } else if (key.bytes != " ") {
        if (isLetterKey(key) || keyPixels_ < kTwoLegendsFrom) {
            const SelectionGuard font(dc, legendFont_.get());
            drawText(dc, platform::widen(keyLabel(key)), inner, DT_CENTER | DT_VCENTER);
        } else {
            const SelectionGuard font(dc, smallFont_.get());
            drawText(dc, wide(key.bytes[1]), inner, DT_LEFT | DT_TOP);
            drawText(dc, wide(key.bytes[0]), inner, DT_RIGHT | DT_BOTTOM);
        }
    }
    if (key.homeMark) {
        const int half = px(std::max(2, keyPixels_ / 8));
        const int middle = (cap.left + cap.right) / 2;
        const int y = cap.bottom - px(std::max(3, keyPixels_ / 7));
        const UniquePen pen(::CreatePen(PS_SOLID, px(std::max(1, keyPixels_ / 16)), colourRef(ink)));
        const SelectionGuard selected(dc, pen.get());
        ::MoveToEx(dc, middle - half, y, nullptr);
        ::LineTo(dc, middle + half + px(1), y);
    }
}

void KeyboardPainter::drawFingerLine(HDC dc, const std::string& line) const {
    if (line.empty()) return;
    const SelectionGuard font(dc, lineFont_.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kLineInk);
    drawText(dc, platform::widen(line), toPixels(fingerLineRect(keyPixels_)), DT_CENTER | DT_VCENTER);
}

}  // namespace dactyla::app
