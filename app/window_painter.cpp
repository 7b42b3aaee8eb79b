#include "app/window_painter.h"

#include <cstdio>

#include "drill/drill_effects.h"
#include "resources/resource.h"

namespace dactyla::app {
namespace {

constexpr int kStripWeight = 500;
constexpr int kSmallWeight = 700;
constexpr BYTE kFixedPitchModern = FIXED_PITCH | FF_MODERN;  // 49
constexpr int kBitmapWidth = 594;
constexpr int kBitmapHeight = 202;
// Shown text is drawn cell for cell: '&' is a character, not a mnemonic, and a line break
// inside a sentence does not push the rest of the strip onto an invisible second line.
constexpr UINT kTextFlags = DT_NOPREFIX | DT_SINGLELINE;

UniqueFont makeFont(int height, int weight, const wchar_t* face) {
    return UniqueFont(::CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, RUSSIAN_CHARSET, 0, 0, 0,
                                    kFixedPitchModern, face));
}

SIZE measure(HDC dc, HFONT font, const wchar_t* text) {
    SelectionGuard selected(dc, font);
    SIZE size {};
    ::GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
    return size;
}

void drawHalf(HDC dc, const char* characters, RECT rect, COLORREF text, COLORREF background, UINT align) {
    wchar_t wide[kStripHalf];
    for (int i = 0; i < kStripHalf; ++i)
        wide[i] = static_cast<wchar_t>(platform::cp1251ByteToUtf16(static_cast<unsigned char>(characters[i])));
    ::SetTextColor(dc, text);
    ::SetBkColor(dc, background);
    ::DrawTextW(dc, wide, kStripHalf, &rect, align | kTextFlags);
}

}  // namespace

std::string clockText(std::uint8_t minutes, std::uint8_t seconds) {
    char text[16];
    std::snprintf(text, sizeof text, "%2u:%.2u", static_cast<unsigned>(minutes), static_cast<unsigned>(seconds));
    return text;
}

void WindowPainter::setUp(HDC dc, int screenWidth, int clientWidth, int clientHeight, Dpi dpi) {
    dpi_ = dpi;
    const int height = stripFontHeight(screenWidth);
    stripFont_ = makeFont(dpi.scale(height), kStripWeight, L"Courier New");
    smallFont_ = makeFont(dpi.scale(smallFontHeight(height)), kSmallWeight, L"Lucida Console");
    const SIZE strip = measure(dc, stripFont_.get(), L"000000000000000");
    const SIZE clock = measure(dc, smallFont_.get(), L"00:00");
    layout_ = computeLayout(clientWidth, clientHeight, strip, clock, dpi);
}

void WindowPainter::releaseFonts() {
    stripFont_.reset();
    smallFont_.reset();
}

void WindowPainter::paint(HDC dc, HINSTANCE instance, const WindowContent& content) const {
    paintBackground(dc, instance, content.picture);
    if (content.userName != nullptr) drawUserLabel(dc, *content.userName, content.picture);
    drawClock(dc, content.clockMinutes, content.clockSeconds, content.picture);
    drawFrameBar(dc, content.picture);
    drawStrip(dc, content.strip);
    if (content.courseLine != nullptr) drawCourseLine(dc, *content.courseLine, content.picture);
}

// A picture the resources do not hold shows the desktop, as picture 0 does.
void WindowPainter::paintBackground(HDC dc, HINSTANCE instance, std::uint8_t picture) const {
    UniqueBitmap bitmap;
    if (picture != 0) bitmap.reset(::LoadBitmapW(instance, MAKEINTRESOURCEW(IDB_PICTURE_BASE + picture)));
    if (!bitmap) {
        ::PaintDesktop(dc);
        return;
    }
    UniqueMemoryDc memory(::CreateCompatibleDC(dc));
    SelectionGuard selected(memory.get(), bitmap.get());
    // Scaled up for a high DPI the picture is smoothed; at 96 DPI it is stretched as it always was.
    if (dpi_.scaled()) {
        ::SetStretchBltMode(dc, HALFTONE);
        ::SetBrushOrgEx(dc, 0, 0, nullptr);
    }
    ::StretchBlt(dc, 0, 0, layout_.clientWidth, layout_.clientHeight, memory.get(), 0, 0, kBitmapWidth,
                 kBitmapHeight, SRCCOPY);
}

// The name stands on a solid box 5 units from the left and 2 above the bottom edge.
void WindowPainter::drawUserLabel(HDC dc, const std::string& name, std::uint8_t picture) const {
    const WindowColours colours = coloursFor(picture);
    const std::wstring text = platform::widen(name);
    SelectionGuard selected(dc, smallFont_.get());
    const int left = dpi_.scale(5);
    RECT rect {left, 0, left, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | kTextFlags);
    const int height = rect.bottom - rect.top;
    rect.bottom = layout_.clientHeight - dpi_.scale(2);
    rect.top = rect.bottom - height;
    ::SetTextColor(dc, colours.labelText);
    ::SetBkColor(dc, colours.labelBackground);
    ::SetBkMode(dc, OPAQUE);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, kTextFlags);
}

void WindowPainter::drawFrameBar(HDC dc, std::uint8_t picture) const {
    UniqueBrush brush(::CreateSolidBrush(coloursFor(picture).frameBar));
    const RECT bar = frameBarRect(layout_);
    ::FillRect(dc, &bar, brush.get());
}

void WindowPainter::drawStrip(HDC dc, const char* characters) const {
    SelectionGuard selected(dc, stripFont_.get());
    ::SetBkMode(dc, OPAQUE);
    drawHalf(dc, characters, layout_.typedRect, kTypedText, kTypedBackground, DT_RIGHT);
    drawHalf(dc, characters + kStripHalf, layout_.toTypeRect, kToTypeText, kToTypeBackground, DT_LEFT);
}

void WindowPainter::drawClock(HDC dc, std::uint8_t minutes, std::uint8_t seconds, std::uint8_t picture) const {
    const WindowColours colours = coloursFor(picture);
    const std::wstring text = platform::widen(clockText(minutes, seconds));
    SelectionGuard selected(dc, smallFont_.get());
    RECT rect = layout_.clockRect;
    ::SetTextColor(dc, colours.clockText);
    ::SetBkColor(dc, colours.clockBackground);
    ::SetBkMode(dc, OPAQUE);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_RIGHT | kTextFlags);
}

RECT WindowPainter::courseLineRect() const {
    const RECT bar = frameBarRect(layout_);
    const int height = layout_.clockRect.bottom - layout_.clockRect.top;
    return {bar.left, bar.bottom + height / 3, bar.right, bar.bottom + height / 3 + height};
}

void WindowPainter::drawCourseLine(HDC dc, const std::string& line, std::uint8_t picture) const {
    const WindowColours colours = coloursFor(picture);
    const std::wstring text = platform::widen(line);
    SelectionGuard selected(dc, smallFont_.get());
    RECT whole = courseLineRect();
    UniqueBrush clear(::CreateSolidBrush(colours.labelBackground));
    ::FillRect(dc, &whole, clear.get());
    ::SetTextColor(dc, colours.labelText);
    ::SetBkColor(dc, colours.labelBackground);
    ::SetBkMode(dc, OPAQUE);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &whole, DT_CENTER | kTextFlags);
}

}  // namespace dactyla::app
