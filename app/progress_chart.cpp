#include "app/progress_chart.h"

#include <algorithm>
#include <utility>

#include "app/chart_painter.h"
#include "platform/cp1251.h"
#include "shell/dpi.h"
#include "shell/buffered_paint.h"
#include "shell/handles.h"
#include "shell/modal_window.h"
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

class ChartWindow : public ModalWindow {
public:
    ChartWindow(HWND owner, ChartData data) : ModalWindow(owner), data_(std::move(data)) {}

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
        paintBuffered(window_, [this](HDC dc, const RECT& client) { drawChart(dc, client, data_, view_); });
    }

    ChartData data_;
    ChartView view_ = ChartView::errors;
};

}  // namespace

void showProgressChart(HINSTANCE instance, HWND owner, const std::string& userDirectory, bool russian) {
    ChartWindow chart(owner, loadChartData(userDirectory, russian));
    // Sized on the screen in 96-DPI units, shown in real pixels: its text and lines follow the
    // client height, so they grow with it.
    const Dpi dpi = systemDpi();
    const SIZE units = chartClientSize(dpi.unscale(::GetSystemMetrics(SM_CXSCREEN)),
                                       dpi.unscale(::GetSystemMetrics(SM_CYSCREEN)));
    runModal(instance, owner, chart,
             {.className = kProgressChartClass,
              .title = platform::widen(texts::textC("chart.title")),
              .client = {dpi.scale(units.cx), dpi.scale(units.cy)}});
}

}  // namespace dactyla::app
