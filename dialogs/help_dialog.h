#pragma once
// The help dialog: four preformatted pages in a read-only box, switched by its menu bar.
#include <string>

#include "platform/win32/windows_headers.h"

namespace dactyla::dialogs {

// The help page a command of the dialog's menu shows, or 0 for any other command.
int helpPageForCommand(int command) noexcept;

// The help page stored as the "TEXT" resource pageId (CP1251, up to its NUL), as UTF-16;
// empty when the module has no such page.
std::wstring loadHelpPage(HINSTANCE instance, int pageId);

// Where the first page's subheading "Как правильно вводить текст ?" lies; the dialog selects
// it on opening.
inline constexpr int kSubheadingStart = 600;
inline constexpr int kSubheadingEnd = 629;  // exclusive

// Runs the help dialog modally over `owner`. It always opens on the first page.
void showHelpDialog(HINSTANCE instance, HWND owner);

}  // namespace dactyla::dialogs
