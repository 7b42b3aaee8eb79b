#pragma once
// The program's settings dialog, driven through its controls from outside the process: the
// frame, its tab control and the one page it shows.
#include <windows.h>

#include <optional>
#include <string>

#include "driver/program.h"
#include "editors/settings_editor.h"

namespace dactyla::e2e {

// The settings dialog's controls by the names its editor gives them.
namespace settings = settingsControl;

enum class SettingsOpening {
    hotKey,  // F2
    menu,    // the menu command
};

// Opens the dialog and returns its frame, or null when it did not appear.
HWND openSettings(const RunningProgram& program, SettingsOpening how);

// The page the frame shows (its only child dialog), and which tab is selected.
HWND settingsPage(HWND frame);
int settingsTab(HWND frame);
// Selects a tab the way a click does, with its notifications; false when its page did not come.
bool selectSettingsTab(HWND frame, int index);

std::wstring controlText(HWND dialog, int id);
// Sets an edit's text as typing would: its change notification goes to the page.
void setControlText(HWND dialog, int id, const std::wstring& text);
// Clicks a button and waits until it has been handled.
void clickControl(HWND dialog, int id);
// Clicks a button without waiting: for a click that opens a box.
void postClick(HWND dialog, int id);
bool isChecked(HWND dialog, int id);
bool isEnabled(HWND dialog, int id);
int defaultButton(HWND frame);
// The window with the keyboard focus in the program's thread.
HWND focusedWindow(const RunningProgram& program);
// Enter, as the dialog's own message loop receives it.
void pressEnter(const RunningProgram& program);
// Presses a frame button and waits until the dialog is gone.
bool closeSettings(const RunningProgram& program, HWND frame, int buttonId);

// Runs dactyla-text.exe beside the program with `arguments` and returns what it printed.
std::optional<std::string> runDactylaText(const std::wstring& arguments);

}  // namespace dactyla::e2e
