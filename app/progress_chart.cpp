#include "app/progress_chart.h"

#include <algorithm>
#include <utility>

#include "app/chart_painter.h"
#include "platform/cp1251.h"
#include "shell/dpi.h"
#include "shell/handles.h"
#include "shell/window_procedure.h"
#include "texts/interface_texts.h"

namespace dactyla::app {
namespace {

constexpr SIZE kSmallestClient = {760, 532};

}  // namespace

SIZE chartClientSize(int screenWidth, int screenHeight) {
    const int width = std::min(std::max<int>(kSmallestClient.cx, screenWidth * 3 / 5), screenWidth);
    const int height = std::min(std::max<int>(kSmallestClient.cy, width * 7 / 10), screenHeight - 64);
    return {width, height};
}

namespace {

class ChartWindow {
public:
    ChartWindow(HWND owner, ChartData data) : owner_(owner), data_(std::move(data)) {}

    void attach(HWND window) { window_ = window; }

    bool closed() const { return closed_; }
    HWND window() const { return window_; }

    // The owner comes back before the window goes, so the activation returns to it.
    void close() {
        if (closed_ || window_ == nullptr) return;
        ::EnableWindow(owner_, TRUE);
        ::DestroyWindow(window_);
    }

    // Every message of the window from WM_NCCREATE on.
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: onPaint(); return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) close();
            if (wParam == VK_TAB) switchView();
            return 0;
        case WM_CLOSE: close(); return 0;
        case WM_DESTROY: closed_ = true; return 0;
        default: return ::DefWindowProcW(window_, message, wParam, lParam);
        }
    }

private:

    void switchView() {
        view_ = view_ == ChartView::errors ? ChartView::mastery : ChartView::errors;
        ::InvalidateRect(window_, nullptr, FALSE);
    }

    void onPaint() {
        const PaintDc paint(window_);
        RECT client {};
        ::GetClientRect(window_, &client);
        const UniqueMemoryDc memory(::CreateCompatibleDC(paint.get()));
        const UniqueBitmap bitmap(::CreateCompatibleBitmap(paint.get(), client.right, client.bottom));
        if (!memory || !bitmap) {
            drawChart(paint.get(), client, data_, view_);
            return;
        }
        const SelectionGuard selected(memory.get(), bitmap.get());
        drawChart(memory.get(), client, data_, view_);
        ::BitBlt(paint.get(), 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
    }

    HWND owner_;
    HWND window_ = nullptr;
    ChartData data_;
    ChartView view_ = ChartView::errors;
    bool closed_ = false;
};

void registerChartClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcedureOf<ChartWindow>;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = kProgressChartClass;
    ::RegisterClassExW(&windowClass);  // a second registration fails harmlessly
}

}  // namespace

void showProgressChart(HINSTANCE instance, HWND owner, const std::string& userDirectory, bool russian) {
    registerChartClass(instance);
    ChartWindow chart(owner, loadChartData(userDirectory, russian));
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    // Sized on the screen in 96-DPI units, shown in real pixels: its text and lines follow the
    // client height, so they grow with it.
    const Dpi dpi = systemDpi();
    const SIZE units = chartClientSize(dpi.unscale(screenWidth), dpi.unscale(screenHeight));
    const SIZE client {dpi.scale(units.cx), dpi.scale(units.cy)};
    constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
    RECT outer {0, 0, client.cx, client.cy};
    ::AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    const HWND window = ::CreateWindowExW(kExStyle, kProgressChartClass, platform::widen(texts::textC("chart.title")).c_str(), kStyle,
                                          std::max(0, (screenWidth - width) / 2), std::max(0, (screenHeight - height) / 2),
                                          width, height, owner, nullptr, instance, &chart);
    if (window == nullptr) return;
    ::EnableWindow(owner, FALSE);
    ::ShowWindow(window, SW_SHOW);
    ::SetForegroundWindow(window);
    MSG message {};
    while (!chart.closed()) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(message.wParam));  // for the main loop to see
            break;
        }
        if (got == -1) break;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    chart.close();
}

}  // namespace dactyla::app
