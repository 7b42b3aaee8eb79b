#include "driver/menu.h"

#include "driver/host.h"
#include "driver/screen.h"

namespace dactyla::e2e {
namespace {

HFONT createMenuFont() {
    NONCLIENTMETRICSW metrics {};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return ::CreateFontIndirectW(&metrics.lfMenuFont);
}

std::optional<POINT> findText(const RECT& area, const std::wstring& text, COLORREF background) {
    const HFONT font = createMenuFont();
    const Image needle = renderText(text, font, ::GetSysColor(COLOR_MENUTEXT), background);
    ::DeleteObject(font);
    const std::optional<POINT> found = findInk(captureScreen(area), needle);
    if (!found) return std::nullopt;
    return POINT {area.left + found->x, area.top + found->y};
}

}  // namespace

std::optional<POINT> findInMenuBar(HWND window, const std::wstring& text) {
    POINT client {0, 0};
    ::ClientToScreen(window, &client);
    RECT frame {};
    ::GetWindowRect(window, &frame);
    const RECT bar {frame.left, client.y - ::GetSystemMetrics(SM_CYMENU) - 2, frame.right, client.y};
    return findText(bar, text, ::GetSysColor(COLOR_MENU));
}

OpenPopup::OpenPopup(const RunningProgram& program, const std::wstring& title) : program_(program) {
    const std::optional<POINT> where = findInMenuBar(program.window(), title);
    if (!where) return;
    // From elsewhere: a click where the pointer already rests after a closed popup opens nothing.
    runLinux("xdotool mousemove 0 0 sleep 0.1 mousemove " + std::to_string(where->x + 3) + " " +
             std::to_string(where->y + 3) + " sleep 0.1 click 1");
    popup_ = program.waitForWindow(L"#32768", {}, std::chrono::seconds(5));
}

OpenPopup::~OpenPopup() {
    if (popup_ == nullptr) return;
    // A click outside every window ends menu tracking, and no key reaches the program.
    runLinux("xdotool mousemove 2 2 sleep 0.1 click 1");
    waitUntil([&] { return !::IsWindowVisible(popup_); }, std::chrono::seconds(5));
    program_.settle();
}

std::optional<PopupItem> OpenPopup::find(const std::wstring& text) const {
    if (popup_ == nullptr) return std::nullopt;
    RECT area {};
    ::GetWindowRect(popup_, &area);
    std::optional<POINT> where;
    waitUntil([&] { return (where = findText(area, text, ::GetSysColor(COLOR_MENU))).has_value(); },
              std::chrono::seconds(2));
    if (!where) return std::nullopt;
    // A check or radio mark is ink between the popup's edge and the text, on the text's rows.
    const HFONT font = createMenuFont();
    const Image rendered = renderText(text, font, 0, RGB(255, 255, 255));
    ::DeleteObject(font);
    const Image margin = captureScreen(RECT {area.left + 3, where->y, where->x - 2, where->y + rendered.height});
    bool checked = false;
    for (COLORREF pixel : margin.pixels)
        checked = checked || GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel) < 3 * 128;
    return PopupItem {*where, checked};
}

bool OpenPopup::choose(const std::wstring& text) {
    const std::optional<PopupItem> item = find(text);
    if (!item) return false;
    runLinux("xdotool mousemove " + std::to_string(item->where.x + 3) + " " + std::to_string(item->where.y + 3) +
             " sleep 0.1 click 1");
    const bool closed = waitUntil([&] { return !::IsWindowVisible(popup_); }, std::chrono::seconds(5));
    popup_ = nullptr;
    program_.settle();
    return closed;
}

}  // namespace dactyla::e2e
