#include "app/chart_painter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/cp1251.h"
#include "shell/handles.h"
#include "texts/interface_texts.h"

namespace dactyla::app {
namespace {


using UniquePen = UniqueHandle<GdiObjectTraits<HPEN>>;

// The chart's texts in the interface language.
const char* say(const char* key) { return texts::textC(key); }

constexpr COLORREF kBackground = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kInk = RGB(0x20, 0x20, 0x20);
constexpr COLORREF kGrid = RGB(0xE0, 0xE0, 0xE0);
constexpr COLORREF kSpeedColour = RGB(0x7F, 0xA8, 0xD8);
constexpr COLORREF kAverageColour = RGB(0x1A, 0x4E, 0x9C);
constexpr COLORREF kErrorColour = RGB(0xD0, 0x40, 0x30);
constexpr COLORREF kBestColour = RGB(0x20, 0x90, 0x30);
constexpr COLORREF kKeyBorder = RGB(0x90, 0x90, 0x90);

constexpr int kGridLines = 5;

UniqueFont makeFont(int height, int weight) {
    return UniqueFont(::CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, RUSSIAN_CHARSET, 0, 0,
                                    ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, L"Arial"));
}

void fill(HDC dc, const RECT& rect, COLORREF colour) {
    const UniqueBrush brush(::CreateSolidBrush(colour));
    ::FillRect(dc, &rect, brush.get());
}

void line(HDC dc, int x1, int y1, int x2, int y2) {
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
}

// A line's rectangle is as high as the font's letters; descenders ("y", "p") hang below it.
void text(HDC dc, const std::string& cp1251, RECT rect, UINT flags, COLORREF colour = kInk) {
    ::SetTextColor(dc, colour);
    const std::wstring wide = platform::widen(cp1251);
    ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect, flags | DT_NOPREFIX | DT_NOCLIP);
}

std::string format(const char* pattern, unsigned value) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

// A round top for an axis that holds `value`: 1, 1.5, 2, 2.5, 3, 4, 5, 6 or 8 times a power of ten,
// the grid splits it into five.
double roundAxisTop(double value, double smallest) {
    value = std::max(value, smallest);
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    for (const double step : {1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0, 8.0, 10.0})
        if (value <= step * power) return step * power;
    return 10 * power;
}

struct Plot {
    RECT area;
    std::size_t count;
    double top;
    int x(std::size_t k) const {
        const int width = area.right - area.left;
        if (count < 2) return area.left + width / 2;
        return area.left + static_cast<int>(std::lround(static_cast<double>(k) * width / (count - 1)));
    }
    int y(double value) const {
        const int height = area.bottom - area.top;
        return area.bottom - static_cast<int>(std::lround(value / top * height));
    }
};

// The series as one polyline. Sessions that fall on one pixel column keep only their first,
// lowest, highest and last points, so ten thousand sessions draw as fast as a few hundred and
// look the same.
std::vector<POINT> seriesPoints(const Plot& plot, const std::vector<double>& values) {
    std::vector<POINT> points;
    std::size_t k = 0;
    while (k < values.size()) {
        const int x = plot.x(k);
        const std::size_t first = k;
        std::size_t low = k;
        std::size_t high = k;
        for (++k; k < values.size() && plot.x(k) == x; ++k) {
            if (values[k] < values[low]) low = k;
            if (values[k] > values[high]) high = k;
        }
        const std::size_t last = k - 1;
        std::size_t order[] = {first, std::min(low, high), std::max(low, high), last};
        for (const std::size_t index : order)
            if (points.empty() || points.back().x != x || points.back().y != plot.y(values[index]))
                points.push_back({x, plot.y(values[index])});
    }
    return points;
}

void drawSeries(HDC dc, const Plot& plot, const std::vector<double>& values, COLORREF colour, int width) {
    const UniquePen pen(::CreatePen(PS_SOLID, width, colour));
    const SelectionGuard selected(dc, pen.get());
    const std::vector<POINT> points = seriesPoints(plot, values);
    if (points.size() > 1) ::Polyline(dc, points.data(), static_cast<int>(points.size()));
    if (values.size() == 1) {
        const int x = plot.x(0);
        const int y = plot.y(values[0]);
        ::Ellipse(dc, x - width - 2, y - width - 2, x + width + 3, y + width + 3);
    }
}

void drawLegendEntry(HDC dc, int& x, int y, int lineHeight, COLORREF colour, int width, const char* name) {
    const UniquePen pen(::CreatePen(PS_SOLID, width, colour));
    {
        const SelectionGuard selected(dc, pen.get());
        line(dc, x, y + lineHeight / 2, x + lineHeight * 2, y + lineHeight / 2);
    }
    x += lineHeight * 2 + lineHeight / 3;
    const std::wstring wide = platform::widen(name);
    SIZE size {};
    ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    text(dc, name, {x, y, x + size.cx + 1, y + lineHeight}, DT_LEFT | DT_SINGLELINE);
    x += size.cx + lineHeight;
}

void drawSpeedChart(HDC dc, RECT area, const ChartData& data, int lineHeight) {
    const ProgressSeries& series = data.series;
    const std::size_t count = series.speed.size();
    const double speedTop = roundAxisTop(*std::max_element(series.speed.begin(), series.speed.end()) * 1.1, 50);
    const double errorTop = roundAxisTop(*std::max_element(series.errorPercent.begin(), series.errorPercent.end()), 5);

    // Heading: sessions and dates on the left, the legend on the right.
    char dates[160];
    std::snprintf(dates, sizeof dates, say("chart.sessions"), static_cast<unsigned>(count), formatDate(series.first).c_str(),
                  formatDate(series.last).c_str());
    text(dc, dates, {area.left, area.top, area.right, area.top + lineHeight}, DT_LEFT | DT_SINGLELINE);
    int legendX = area.left + (area.right - area.left) / 2;
    drawLegendEntry(dc, legendX, area.top, lineHeight, kSpeedColour, 1, say("chart.speedLegend"));
    drawLegendEntry(dc, legendX, area.top, lineHeight, kAverageColour, 3, say("chart.averageLegend"));
    drawLegendEntry(dc, legendX, area.top, lineHeight, kErrorColour, 1, say("chart.errorLegend"));

    const int labelWidth = lineHeight * 3;
    Plot speed {{area.left + labelWidth, area.top + lineHeight * 3, area.right - labelWidth, area.bottom - lineHeight * 2},
                count, speedTop};
    Plot errors = speed;
    errors.top = errorTop;

    // Grid with the speed on the left and the error percentage on the right.
    const UniquePen gridPen(::CreatePen(PS_SOLID, 1, kGrid));
    {
        const SelectionGuard selected(dc, gridPen.get());
        for (int k = 0; k <= kGridLines; ++k) {
            const int y = speed.y(speedTop * k / kGridLines);
            line(dc, speed.area.left, y, speed.area.right, y);
            text(dc, format("%u", static_cast<unsigned>(speedTop * k / kGridLines)),
                 {area.left, y - lineHeight / 2, speed.area.left - lineHeight / 3, y + lineHeight / 2},
                 DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
            char percent[32];
            std::snprintf(percent, sizeof percent, "%g", errorTop * k / kGridLines);
            text(dc, percent, {speed.area.right + lineHeight / 3, y - lineHeight / 2, area.right, y + lineHeight / 2},
                 DT_LEFT | DT_SINGLELINE | DT_VCENTER, kErrorColour);
        }
    }
    text(dc, say("chart.speedAxis"), {area.left, speed.area.top - lineHeight * 3 / 2, area.left + labelWidth * 2,
                          speed.area.top - lineHeight / 3}, DT_LEFT | DT_SINGLELINE | DT_BOTTOM);
    text(dc, say("chart.errorAxis"), {area.right - labelWidth * 2, speed.area.top - lineHeight * 3 / 2, area.right,
                          speed.area.top - lineHeight / 3}, DT_RIGHT | DT_SINGLELINE | DT_BOTTOM, kErrorColour);

    drawSeries(dc, errors, series.errorPercent, kErrorColour, 1);
    drawSeries(dc, speed, series.speed, kSpeedColour, 1);
    drawSeries(dc, speed, series.movingAverage, kAverageColour, 3);

    // The best session: a ring and its speed above it.
    const std::size_t best = *series.best;
    const int bx = speed.x(best);
    const int by = speed.y(series.speed[best]);
    const UniquePen bestPen(::CreatePen(PS_SOLID, 2, kBestColour));
    {
        const SelectionGuard pen(dc, bestPen.get());
        const SelectionGuard hollow(dc, ::GetStockObject(NULL_BRUSH));
        const int r = lineHeight / 3 + 2;
        ::Ellipse(dc, bx - r, by - r, bx + r + 1, by + r + 1);
    }
    const std::string bestText = format(say("chart.best"), static_cast<unsigned>(series.speed[best]));
    const int half = lineHeight * 4;
    const int left = std::max<int>(speed.area.left, std::min<int>(bx - half, speed.area.right - 2 * half));
    text(dc, bestText, {left, by - lineHeight * 3 / 2, left + 2 * half, by - lineHeight / 3},
         DT_CENTER | DT_SINGLELINE | DT_BOTTOM, kBestColour);

    // The dates under both ends of the axis.
    const RECT under {speed.area.left, speed.area.bottom + lineHeight / 3, speed.area.right,
                      speed.area.bottom + lineHeight * 3 / 2};
    text(dc, formatDate(series.first), under, DT_LEFT | DT_SINGLELINE);
    if (count > 1) text(dc, formatDate(series.last), under, DT_RIGHT | DT_SINGLELINE);
}

void drawKeyboard(HDC dc, RECT area, const ChartData& data, ChartView view, int lineHeight) {
    text(dc, view == ChartView::mastery ? say("chart.masteryCaption") : say("chart.errorsCaption"),
         {area.left, area.top, area.right, area.top + lineHeight}, DT_LEFT | DT_SINGLELINE, kKeyBorder);
    area.top += lineHeight * 5 / 4;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top - lineHeight * 2;
    const double unit = std::min(width / kKeyboardWidthInKeys, height / kKeyboardHeightInKeys);
    const int left = area.left + static_cast<int>((width - unit * kKeyboardWidthInKeys) / 2);
    const int gap = std::max(2, static_cast<int>(unit / 12));
    const UniquePen border(::CreatePen(PS_SOLID, 1, kKeyBorder));
    const SelectionGuard pen(dc, border.get());
    for (const KeyScore& score : data.scores) {
        const KeyPlace& key = *score.key;
        const Rgb colour = view == ChartView::mastery ? masteryColour(score) : heatColour(score);
        const UniqueBrush brush(::CreateSolidBrush(RGB(colour.red, colour.green, colour.blue)));
        const SelectionGuard selected(dc, brush.get());
        const RECT cap {left + static_cast<int>(key.left * unit), area.top + static_cast<int>(key.row * unit),
                        left + static_cast<int>((key.left + key.width) * unit) - gap,
                        area.top + static_cast<int>((key.row + 1) * unit) - gap};
        ::RoundRect(dc, cap.left, cap.top, cap.right, cap.bottom, gap * 3, gap * 3);
        if (key.bytes != " ") text(dc, keyLabel(key), cap, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    const int below = area.top + static_cast<int>(kKeyboardHeightInKeys * unit) + lineHeight / 2;
    text(dc, data.hasKeystrokes ? weakestLine(data, view) : std::string(say("chart.noKeys")),
         {area.left, below, area.right, below + lineHeight * 3 / 2}, DT_CENTER | DT_SINGLELINE);
}

}  // namespace

void drawChart(HDC dc, const RECT& client, const ChartData& data, ChartView view) {
    fill(dc, client, kBackground);
    ::SetBkMode(dc, TRANSPARENT);
    const int height = client.bottom - client.top;
    const int lineHeight = std::max(12, height / 34);
    const UniqueFont font = makeFont(lineHeight, FW_NORMAL);
    const SelectionGuard selected(dc, font.get());
    const int margin = lineHeight;
    const RECT inner {client.left + margin, client.top + margin / 2, client.right - margin, client.bottom - margin / 2};
    text(dc, say("chart.closeHint"), {inner.left, inner.bottom - lineHeight, inner.right, inner.bottom},
         DT_RIGHT | DT_SINGLELINE, kKeyBorder);
    if (data.hasKeystrokes)
        text(dc, view == ChartView::mastery ? say("chart.toErrorsHint") : say("chart.toMasteryHint"),
             {inner.left, inner.bottom - lineHeight, inner.right, inner.bottom}, DT_LEFT | DT_SINGLELINE, kKeyBorder);

    if (data.history.sessions.empty() && !data.hasKeystrokes) {
        RECT measured = inner;
        const std::wstring wide = platform::widen(say("chart.nothingYet"));
        ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
        RECT centred = inner;
        centred.top = inner.top + (inner.bottom - inner.top - (measured.bottom - measured.top)) / 2;
        text(dc, say("chart.nothingYet"), centred, DT_CENTER | DT_WORDBREAK);
        return;
    }
    const int split = inner.top + (inner.bottom - inner.top) * 11 / 20;
    const RECT chart {inner.left, inner.top, inner.right, split};
    if (data.history.sessions.empty())
        text(dc, say("chart.noSessions"), chart, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    else
        drawSpeedChart(dc, chart, data, lineHeight);
    drawKeyboard(dc, {inner.left, split + lineHeight / 2, inner.right, inner.bottom - lineHeight}, data, view,
                 lineHeight);
}

}  // namespace dactyla::app
