#pragma once
// The main window's menu bar: the user items between their separators, the check marks and the
// Start/Stop item whose text follows the session and the language.
#include <cstdint>
#include <string>

#include "platform/win32/windows_headers.h"

namespace dactyla::app {

// The text of the first menu item in the interface language, CP1251. In Russian it follows the
// typing language too.
std::string startStopLabel(bool sessionRunning, bool russian);

class MainMenu {
public:
    // initUserMenu: takes the window's menu and puts the separator that closes the user items
    // in front of "Новый...".
    void attach(HMENU menu);

    // User `number` gets the command 40200 + number and goes last among the users.
    void addUserItem(const std::string& name, std::int32_t number);
    void checkUserItem(std::int32_t number);
    void checkAlphabetItem(bool alphabetMode);
    // "Клавиатура" is checked while the on-screen keyboard shows.
    void checkKeyboardItem(bool shown);
    // The items of the drills added beside sentences and the alphabet ("Курс", ...).
    void checkItem(unsigned command, bool checked);
    void updateStartStopLabel(HWND window, bool sessionRunning, bool russian);
    // Every item in the interface language; the interface item names the language it offers.
    // The Start/Stop item is updateStartStopLabel's.
    void translate();

    std::int32_t userCount() const { return userCount_; }
    // Whether `command` is one of the user items.
    bool isUserCommand(unsigned command) const;

private:
    HMENU menu_ = nullptr;
    std::int32_t userCount_ = 0;
};

}  // namespace dactyla::app
