#pragma once
// How the progress chart looks: speed per session with its moving average, the best session and
// the error percentage on their own axis, and the keyboard in heat or mastery colours.
#include "platform/win32/windows_headers.h"
#include "progress/chart_data.h"

namespace dactyla::app {

// Everything the window shows, drawn into `dc` over `client`; painting draws it into a memory
// bitmap first, so nothing flickers.
void drawChart(HDC dc, const RECT& client, const ChartData& data, ChartView view = ChartView::errors);

}  // namespace dactyla::app
