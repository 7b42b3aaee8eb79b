#include "app/keyboard_window.h"

#include "guide/keyboard_place.h"
#include "shell/dpi.h"
#include "shell/window_procedure.h"

namespace dactyla::app {
namespace {

constexpr UINT_PTR kHintTimerId = 1;
constexpr DWORD kStyle = WS_POPUP;
// No activation on clicks or on showing, no button of its own on the taskbar.
constexpr DWORD kExStyle = WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;

// A screen rectangle in 96-DPI units.
PixelRect inUnits(const RECT& rect, Dpi dpi) {
    return {dpi.unscale(rect.left), dpi.unscale(rect.top), dpi.unscale(rect.right), dpi.unscale(rect.bottom)};
}

void registerKeyboardClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcedureOf<KeyboardWindow>;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = kKeyboardWindowClass;
    ::RegisterClassExW(&windowClass);  // a second registration fails harmlessly
}

}  // namespace

bool KeyboardWindow::create(HINSTANCE instance, HWND owner, std::function<void()> onHintDue) {
    if (window_ != nullptr) return true;
    owner_ = owner;
    onHintDue_ = std::move(onHintDue);
    registerKeyboardClass(instance);
    // With an owner, a pop-up stays above it, hides with it and goes with it.
    window_ = ::CreateWindowExW(kExStyle, kKeyboardWindowClass, L"", kStyle, 0, 0, 0, 0, owner, nullptr, instance, this);
    if (window_ == nullptr) return false;
    followOwner();
    return true;
}

void KeyboardWindow::destroy() {
    if (window_ == nullptr) return;
    ::KillTimer(window_, kHintTimerId);
    const HWND window = window_;
    window_ = nullptr;
    // Let go first: what the window is told while it goes is no longer this object's business.
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    ::DestroyWindow(window);
}

void KeyboardWindow::show(bool shown) {
    if (window_ == nullptr) return;
    if (shown) followOwner();
    ::ShowWindow(window_, shown ? SW_SHOWNOACTIVATE : SW_HIDE);
    if (!shown) armHintTimer(std::nullopt);
}

bool KeyboardWindow::shown() const { return window_ != nullptr && ::IsWindowVisible(window_) != FALSE; }

void KeyboardWindow::followOwner() {
    if (window_ == nullptr) return;
    RECT ownerRect {};
    ::GetWindowRect(owner_, &ownerRect);
    MONITORINFO monitor {};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(owner_, MONITOR_DEFAULTTONEAREST), &monitor);
    // Placed in 96-DPI units as on a screen without scaling, then drawn at the real pixels.
    const Dpi dpi = windowDpi(owner_);
    const PixelRect owner = inUnits(ownerRect, dpi);
    const KeyboardPlacement placed = placeKeyboard(owner, inUnits(monitor.rcWork, dpi));
    const bool resized = placed.keyPixels != painter_.keyPixels() || dpi.value != painter_.dpi().value;
    painter_.setKeySize(placed.keyPixels, dpi);
    const PixelRect& rect = placed.window;
    // Right against the owner, to the pixel, whatever the rounding of units did.
    int top = dpi.scale(rect.top);
    if (rect.top == owner.bottom) top = ownerRect.bottom;
    if (rect.bottom == owner.top) top = ownerRect.top - painter_.height();
    ::SetWindowPos(window_, nullptr, dpi.scale(rect.left), top, painter_.width(), painter_.height(),
                   SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOOWNERZORDER);
    if (resized) ::InvalidateRect(window_, nullptr, FALSE);
}

void KeyboardWindow::update(bool russian, const KeyboardPicture& picture) {
    russian_ = russian;
    picture_ = picture;
    if (shown()) drawNow();
}

void KeyboardWindow::armHintTimer(std::optional<std::uint32_t> ms) {
    if (window_ == nullptr) return;
    if (ms)
        ::SetTimer(window_, kHintTimerId, std::max<UINT>(USER_TIMER_MINIMUM, *ms), nullptr);
    else
        ::KillTimer(window_, kHintTimerId);
}

LRESULT KeyboardWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        onPaint();
        return 0;
    case WM_TIMER:
        if (wParam != kHintTimerId) break;
        ::KillTimer(window_, kHintTimerId);
        if (onHintDue_) onHintDue_();
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

void KeyboardWindow::onPaint() {
    const PaintDc paint(window_);
    painter_.draw(paint.get(), russian_, picture_);
}

void KeyboardWindow::drawNow() {
    const WindowDc dc(window_);
    if (dc) painter_.draw(dc.get(), russian_, picture_);
}

}  // namespace dactyla::app
