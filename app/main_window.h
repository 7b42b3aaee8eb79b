#pragma once
// The program's start: one copy per desktop, the main window's class and window, and the
// message loop of the one thread.
#include "platform/win32/windows_headers.h"

namespace dactyla::app {

// The window class; also how a second copy finds the first.
inline constexpr const wchar_t* kMainWindowClass = L"-= KeyloomTutor by QUILL =-";
inline constexpr const wchar_t* kMainWindowTitle = L"Dactyla";

// Runs the program and returns its exit code.
int runProgram(HINSTANCE instance, int showCommand);

}  // namespace dactyla::app
