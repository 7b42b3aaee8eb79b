#include "driver/screen.h"

#include <map>
#include <utility>

#include "driver/host.h"

namespace dactyla::e2e {
namespace {

constexpr int kHalfLength = 15;

// A 32-bit top-down DIB section selected into a memory context.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        dc_ = ::CreateCompatibleDC(nullptr);
        BITMAPINFO info {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        previous_ = ::SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        ::SelectObject(dc_, previous_);
        ::DeleteObject(bitmap_);
        ::DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    Image image() const {
        ::GdiFlush();
        Image image {width_, height_, std::vector<COLORREF>(static_cast<std::size_t>(width_) * height_)};
        const auto* source = static_cast<const std::uint32_t*>(bits_);
        for (std::size_t i = 0; i < image.pixels.size(); ++i) {
            const std::uint32_t bgra = source[i];
            image.pixels[i] = RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
        }
        return image;
    }

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    void* bits_ = nullptr;
};

bool isInk(COLORREF colour) { return GetRValue(colour) + GetGValue(colour) + GetBValue(colour) < 3 * 128; }

HFONT createProgramFont(int height, int weight, const wchar_t* face) {
    return ::CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, RUSSIAN_CHARSET, 0, 0, 0, FIXED_PITCH | FF_MODERN,
                         face);
}

}  // namespace

Image captureScreen(const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    Canvas canvas(width, height);
    const HDC screen = ::GetDC(nullptr);
    ::BitBlt(canvas.dc(), 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
    return canvas.image();
}

// The program draws into its own copy of the window and hands it to the screen when it next
// waits for input: two equal captures in a row show what it has drawn.
Image captureClient(HWND window) {
    RECT client {};
    ::GetClientRect(window, &client);
    POINT origin {0, 0};
    ::ClientToScreen(window, &origin);
    const RECT rect {origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    Image previous = captureScreen(rect);
    for (int attempt = 0; attempt < 50; ++attempt) {
        ::Sleep(25);
        Image next = captureScreen(rect);
        if (next.pixels == previous.pixels) return next;
        previous = std::move(next);
    }
    return previous;
}

Image renderText(const std::wstring& text, HFONT font, COLORREF textColour, COLORREF background) {
    SIZE extent {};
    {
        Canvas measuring(1, 1);
        const HGDIOBJ previous = ::SelectObject(measuring.dc(), font);
        ::GetTextExtentPoint32W(measuring.dc(), text.c_str(), static_cast<int>(text.size()), &extent);
        ::SelectObject(measuring.dc(), previous);
    }
    Canvas canvas(extent.cx, extent.cy);
    const HGDIOBJ previous = ::SelectObject(canvas.dc(), font);
    RECT rect {0, 0, extent.cx, extent.cy};
    const HBRUSH brush = ::CreateSolidBrush(background);
    ::FillRect(canvas.dc(), &rect, brush);
    ::DeleteObject(brush);
    ::SetTextColor(canvas.dc(), textColour);
    ::SetBkColor(canvas.dc(), background);
    ::SetBkMode(canvas.dc(), OPAQUE);
    ::DrawTextW(canvas.dc(), text.c_str(), static_cast<int>(text.size()), &rect, DT_NOPREFIX | DT_SINGLELINE);
    ::SelectObject(canvas.dc(), previous);
    return canvas.image();
}

Image renderProgramIcon(int id, int size, COLORREF background) {
    const std::wstring program = windowsPath(setting("DACTYLA_E2E_PROGRAM") + "/Dactyla.exe");
    const HMODULE module = ::LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    Canvas canvas(size, size);
    RECT rect {0, 0, size, size};
    const HBRUSH brush = ::CreateSolidBrush(background);
    ::FillRect(canvas.dc(), &rect, brush);
    ::DeleteObject(brush);
    if (module != nullptr) {
        const auto icon = static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
        if (icon != nullptr) ::DrawIconEx(canvas.dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        if (icon != nullptr) ::DestroyIcon(icon);
        ::FreeLibrary(module);
    }
    return canvas.image();
}

std::optional<POINT> findInk(const Image& haystack, const Image& needle) {
    if (needle.width == 0 || needle.height == 0) return std::nullopt;
    std::vector<char> hay(haystack.pixels.size());
    for (std::size_t i = 0; i < hay.size(); ++i) hay[i] = isInk(haystack.pixels[i]);
    std::vector<char> ink(needle.pixels.size());
    for (std::size_t i = 0; i < ink.size(); ++i) ink[i] = isInk(needle.pixels[i]);
    for (int y = 0; y + needle.height <= haystack.height; ++y) {
        for (int x = 0; x + needle.width <= haystack.width; ++x) {
            bool same = true;
            for (int ny = 0; same && ny < needle.height; ++ny) {
                const char* row = &hay[static_cast<std::size_t>(y + ny) * haystack.width + x];
                const char* want = &ink[static_cast<std::size_t>(ny) * needle.width];
                for (int nx = 0; nx < needle.width; ++nx) {
                    if (row[nx] != want[nx]) {
                        same = false;
                        break;
                    }
                }
            }
            if (same) return POINT {x, y};
        }
    }
    return std::nullopt;
}

::testing::AssertionResult displayIs(int width, int height, int dpi) {
    const HDC screen = ::GetDC(nullptr);
    const int shownDpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    const int shownWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int shownHeight = ::GetSystemMetrics(SM_CYSCREEN);
    if (shownWidth == width && shownHeight == height && shownDpi == dpi) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the display is " << shownWidth << " x " << shownHeight << " at " << shownDpi
                                         << " DPI, not " << width << " x " << height << " at " << dpi
                                         << ": run this suite through scripts/e2e.sh, which gives it its display";
}

Rows stripBoxRows(const Image& client) {
    constexpr COLORREF kTypedBox = RGB(230, 230, 230);
    const int column = client.width / 2 - 3;
    Rows rows;
    while (rows.top < client.height && client.at(column, rows.top) != kTypedBox) ++rows.top;
    rows.bottom = rows.top;
    while (rows.bottom < client.height && client.at(column, rows.bottom) == kTypedBox) ++rows.bottom;
    return rows;
}

bool saveScreenshot(const std::string& name) {
    const std::string directory = setting("DACTYLA_E2E_ARTIFACTS");
    return runLinux("mkdir -p '" + directory + "' && import -window root '" + directory + "/" + name + ".png'");
}

int expectedStripFontHeight(int screenWidth) {
    switch (screenWidth) {
    case 640: return 33;
    case 800: return 40;
    case 1024: return 53;
    case 1152: return 60;
    case 1280: return 67;
    case 1600: return 72;
    default: return 40;
    }
}

int lineHeight(HFONT font) {
    Canvas measuring(1, 1);
    const HGDIOBJ previous = ::SelectObject(measuring.dc(), font);
    SIZE extent {};
    ::GetTextExtentPoint32W(measuring.dc(), L"0", 1, &extent);
    ::SelectObject(measuring.dc(), previous);
    return extent.cy;
}

HFONT createStripFont(int screenWidth) {
    return createProgramFont(expectedStripFontHeight(screenWidth), 500, L"Courier New");
}

HFONT createSmallFont(int screenWidth) {
    return createProgramFont(expectedStripFontHeight(screenWidth) / 2, 700, L"Lucida Console");
}

StripReader::StripReader(HWND window) : window_(window) {
    font_ = createStripFont(::GetSystemMetrics(SM_CXSCREEN));
    Canvas measuring(1, 1);
    const HGDIOBJ previous = ::SelectObject(measuring.dc(), font_);
    SIZE extent {};
    ::GetTextExtentPoint32W(measuring.dc(), L"000000000000000", kHalfLength, &extent);
    ::SelectObject(measuring.dc(), previous);
    RECT client {};
    ::GetClientRect(window_, &client);
    const int top = (client.bottom - extent.cy) / 2;
    const int half = client.right / 2;
    typedRect_ = {half - extent.cx, top, half, top + extent.cy};
    toTypeRect_ = {half, top, half + extent.cx, top + extent.cy};
    cellWidth_ = extent.cx / kHalfLength;
}

StripReader::~StripReader() { ::DeleteObject(font_); }

std::wstring StripReader::readToType(const std::wstring& candidates) const {
    return readHalf(captureClient(window_), toTypeRect_, candidates, RGB(0, 0, 0), RGB(255, 255, 255));
}

std::wstring StripReader::readTyped(const std::wstring& candidates) const {
    return readHalf(captureClient(window_), typedRect_, candidates, RGB(200, 200, 200), RGB(230, 230, 230));
}

// Each cell takes the candidate whose drawing differs from it in the fewest pixels; a cell
// that matches nothing well reads as U+FFFD.
std::wstring StripReader::readHalf(const Image& client, const RECT& half, const std::wstring& candidates,
                                   COLORREF text, COLORREF background) const {
    const int height = half.bottom - half.top;
    std::map<wchar_t, Image> glyphs;
    for (wchar_t candidate : candidates) glyphs.emplace(candidate, renderText(std::wstring(1, candidate), font_, text, background));
    std::wstring read;
    for (int cell = 0; cell < kHalfLength; ++cell) {
        const int left = half.left + cell * cellWidth_;
        wchar_t best = L'\uFFFD';
        int bestDifference = cellWidth_ * height / 10;
        for (const auto& [candidate, glyph] : glyphs) {
            int difference = 0;
            for (int y = 0; y < height && y < glyph.height; ++y)
                for (int x = 0; x < cellWidth_ && x < glyph.width; ++x)
                    difference += client.at(left + x, half.top + y) != glyph.at(x, y);
            if (difference < bestDifference) {
                bestDifference = difference;
                best = candidate;
            }
        }
        read += best;
    }
    return read;
}

}  // namespace dactyla::e2e
