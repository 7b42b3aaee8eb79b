#include "app/main_menu.h"

#include "dialogs/dialog_texts.h"
#include "resources/resource.h"
#include "texts/interface_texts.h"

namespace dactyla::app {

std::string startStopLabel(bool sessionRunning, bool russian) {
    if (sessionRunning) return texts::textString(russian ? "startStop.running.russian" : "startStop.running.english");
    return texts::textString(russian ? "startStop.idle.russian" : "startStop.idle.english");
}

void MainMenu::attach(HMENU menu) {
    menu_ = menu;
    userCount_ = 0;
    MENUITEMINFOW separator {};
    separator.cbSize = sizeof separator;
    separator.fMask = MIIM_ID | MIIM_FTYPE;
    separator.fType = MFT_SEPARATOR;
    separator.wID = IDM_USER_SEPARATOR;
    ::InsertMenuItemW(menu_, IDM_NEW_USER, FALSE, &separator);
}

void MainMenu::addUserItem(const std::string& name, std::int32_t number) {
    userCount_ = number;
    std::wstring text = platform::widen(name);
    MENUITEMINFOW item {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
    item.fType = MFT_RADIOCHECK;
    item.fState = 0;
    item.wID = static_cast<UINT>(IDM_USER_BASE + number);
    item.dwTypeData = text.data();
    ::InsertMenuItemW(menu_, IDM_USER_SEPARATOR, FALSE, &item);
}

void MainMenu::checkUserItem(std::int32_t number) {
    ::CheckMenuRadioItem(menu_, IDM_USER_BASE + 1, static_cast<UINT>(IDM_USER_BASE + userCount_),
                         static_cast<UINT>(IDM_USER_BASE + number), MF_BYCOMMAND);
}

void MainMenu::checkAlphabetItem(bool alphabetMode) {
    ::CheckMenuItem(menu_, IDM_ALPHABET, MF_BYCOMMAND | (alphabetMode ? MF_CHECKED : MF_UNCHECKED));
}

void MainMenu::checkKeyboardItem(bool shown) {
    ::CheckMenuItem(menu_, IDM_KEYBOARD, MF_BYCOMMAND | (shown ? MF_CHECKED : MF_UNCHECKED));
}

void MainMenu::checkItem(unsigned command, bool checked) {
    ::CheckMenuItem(menu_, command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void MainMenu::updateStartStopLabel(HWND window, bool sessionRunning, bool russian) {
    const std::wstring text = platform::widen(startStopLabel(sessionRunning, russian));
    ::ModifyMenuW(menu_, IDM_START_STOP, MF_BYCOMMAND | MF_STRING, IDM_START_STOP, text.c_str());
    ::DrawMenuBar(window);
}

void MainMenu::translate() {
    dialogs::translateMenu(menu_, IDM_MAIN_MENU);
    const auto offered = texts::findText(texts::nextLanguage(), "interface.name");
    const std::wstring text = platform::widen(std::string(offered.value_or("")));
    MENUITEMINFOW item {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING;
    item.dwTypeData = const_cast<wchar_t*>(text.c_str());
    ::SetMenuItemInfoW(menu_, IDM_INTERFACE_LANGUAGE, FALSE, &item);
}

bool MainMenu::isUserCommand(unsigned command) const {
    return command > IDM_USER_BASE && command <= static_cast<unsigned>(IDM_USER_BASE + userCount_);
}

}  // namespace dactyla::app
