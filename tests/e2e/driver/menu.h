#pragma once
// The program's menus as they appear on the screen. Wine keeps menus inside the process that
// owns them, so another process cannot ask for their items: the driver reads the menu bar and
// the open popups from the screen, finding each text drawn in the menu font.
#include <windows.h>

#include <optional>
#include <string>

#include "driver/program.h"

namespace dactyla::e2e {

// Where `text` stands in the menu bar of `window` (screen coordinates of its top-left), if shown.
std::optional<POINT> findInMenuBar(HWND window, const std::wstring& text);

// An open popup of the program's menu bar.
struct PopupItem {
    POINT where {};      // screen coordinates of the item's text
    bool checked = false;  // a check or radio mark stands before the text
};

class OpenPopup {
public:
    // Clicks the menu bar title `title` with the real mouse and waits for its popup.
    OpenPopup(const RunningProgram& program, const std::wstring& title);
    ~OpenPopup();  // closes it again
    OpenPopup(const OpenPopup&) = delete;
    OpenPopup& operator=(const OpenPopup&) = delete;

    bool isOpen() const { return popup_ != nullptr; }
    std::optional<PopupItem> find(const std::wstring& text) const;
    // Clicks the item with the real mouse, which closes the popup; false when it is not shown.
    bool choose(const std::wstring& text);

private:
    const RunningProgram& program_;
    HWND popup_ = nullptr;
};

}  // namespace dactyla::e2e
