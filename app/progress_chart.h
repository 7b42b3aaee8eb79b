#pragma once
// The progress chart (command 40032): speed per session with its moving average, the best
// session and the error percentage on their own axis, and a heat map of the keyboard with the
// weakest keys named below it. Tab switches the heat map between mistakes and mastery (speed
// and accuracy together). A modal window owned by the main window; Esc or the close box
// closes it.
#include <string>
#include <vector>

#include "platform/win32/windows_headers.h"
#include "progress/key_map.h"
#include "progress/key_statistics.h"
#include "progress/results_history.h"

namespace dactyla::app {

inline constexpr wchar_t kProgressChartClass[] = L"DactylaProgressChart";

// What the keyboard is coloured by.
enum class ChartView { errors, mastery };

// What the chart shows, read once when it opens.
struct ChartData {
    ResultsHistory history;
    ProgressSeries series;
    std::vector<KeyScore> scores;  // every key of the layout
    std::vector<KeyScore> weakest;       // by mistakes
    std::vector<KeyScore> leastMastered;  // known, below 1
    bool hasKeystrokes = false;
};

ChartData loadChartData(const std::string& userDirectory, bool russian);

// The window's client size: 760 × 532 up to 800 × 600, growing with larger screens.
SIZE chartClientSize(int screenWidth, int screenHeight);

// The line below the keyboard: the weakest keys of the view, each with its error rate and speed.
std::string weakestLine(const ChartData& data, ChartView view);

// Everything the window shows, drawn into `dc` over `client`; painting draws it into a memory
// bitmap first, so nothing flickers.
void drawChart(HDC dc, const RECT& client, const ChartData& data, ChartView view = ChartView::errors);

// Returns when the window is closed; the owner is disabled meanwhile.
void showProgressChart(HINSTANCE instance, HWND owner, const std::string& userDirectory, bool russian);

}  // namespace dactyla::app
