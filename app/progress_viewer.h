#pragma once
// The results viewer: the current user's log of the current language in the system's text
// editor, in a tall narrow window at the left edge of the screen.
#include <string>

#include "base/options.h"
#include "platform/win32/windows_headers.h"

namespace dactyla::app {

// "notepad.exe \"<log path>\"": the quotes keep the spaces of "Results - Rus.txt" together.
std::wstring progressCommandLine(const std::string& logPath);

// The editor's window: 40 characters of the fixed system font plus its frame and scroll bar
// wide, the screen's height less 27 tall.
SIZE progressWindowSize(HWND owner);

// Shows "no progress yet" when the log does not exist; otherwise starts the editor and does
// not wait for it.
void showProgress(HWND owner, const std::string& userDirectory, const Options& options);

}  // namespace dactyla::app
