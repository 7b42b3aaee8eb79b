#pragma once
// The system's open-file dialog as the program shows it, answered from outside the process.
#include <windows.h>

#include <string>

#include "driver/program.h"

namespace dactyla::e2e {

// Waits for the program's open-file dialog titled `title`, types `path` (a Windows path) into
// its file-name field and presses its OK button. False when the dialog did not appear, had no
// file-name field or did not close.
bool chooseInFileDialog(const RunningProgram& program, const std::wstring& title, const std::wstring& path);
// Waits for the dialog and cancels it.
bool cancelFileDialog(const RunningProgram& program, const std::wstring& title);

}  // namespace dactyla::e2e
