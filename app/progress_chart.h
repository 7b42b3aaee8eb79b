#pragma once
// The progress chart (command 40032): speed per session with its moving average, the best
// session and the error percentage on their own axis, and a heat map of the keyboard with the
// weakest keys named below it. Tab switches the heat map between mistakes and mastery (speed
// and accuracy together). A modal window owned by the main window; Esc or the close box
// closes it.
#include <string>

#include "platform/win32/windows_headers.h"
#include "progress/chart_data.h"

namespace dactyla::app {

inline constexpr wchar_t kProgressChartClass[] = L"DactylaProgressChart";

// The window's client size: 760 × 532 up to 800 × 600, growing with larger screens.
SIZE chartClientSize(int screenWidth, int screenHeight);

// Returns when the window is closed; the owner is disabled meanwhile.
void showProgressChart(HINSTANCE instance, HWND owner, const std::string& userDirectory, bool russian);

}  // namespace dactyla::app
