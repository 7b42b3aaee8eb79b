#include "dialogs/dialog_texts.h"

#include "texts/interface_texts.h"

namespace dactyla::dialogs {
namespace {

std::string prefix(const char* kind, int id) { return std::string(kind) + "." + std::to_string(id) + "."; }

bool isUnnamed(int controlId) { return controlId == -1 || controlId == 0xFFFF; }

void setText(HWND window, std::string_view cp1251) {
    ::SetWindowTextW(window, platform::widen(std::string(cp1251)).c_str());
}

void setMenuText(HMENU menu, UINT item, BOOL byPosition, std::string_view cp1251) {
    std::wstring text = platform::widen(std::string(cp1251));
    MENUITEMINFOW info {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = text.data();
    ::SetMenuItemInfoW(menu, item, byPosition, &info);
}

void translateItems(HMENU menu, int menuId, bool menuBar) {
    const texts::TextTable& language = texts::currentLanguage();
    for (int position = 0; position < ::GetMenuItemCount(menu); ++position) {
        MENUITEMINFOW info {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info) || (info.fType & MFT_SEPARATOR))
            continue;
        const std::string key = info.hSubMenu != nullptr && menuBar ? menuPopupKey(menuId, position)
                                                                     : menuItemKey(menuId, info.wID);
        if (const auto text = texts::findText(language, key))
            setMenuText(menu, static_cast<UINT>(position), TRUE, *text);
        if (info.hSubMenu != nullptr) translateItems(info.hSubMenu, menuId, false);
    }
}

}  // namespace

std::string dialogTitleKey(int templateId) { return prefix("dialog", templateId) + "title"; }

std::string dialogControlKey(int templateId, int controlId) {
    return prefix("dialog", templateId) + std::to_string(controlId);
}

std::string dialogStaticKey(int templateId, int unnamedIndex) {
    return prefix("dialog", templateId) + "static" + std::to_string(unnamedIndex);
}

std::string menuItemKey(int menuId, unsigned command) { return prefix("menu", menuId) + std::to_string(command); }

std::string menuPopupKey(int menuId, int position) {
    return prefix("menu", menuId) + "popup" + std::to_string(position);
}

// In the program's own language the template's texts are the table's: nothing to do.
void translateDialog(HWND dialog, int templateId) {
    if (texts::speaksOwnLanguage()) return;
    const texts::TextTable& language = texts::currentLanguage();
    if (const auto title = texts::findText(language, dialogTitleKey(templateId))) setText(dialog, *title);
    int unnamed = 0;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const int id = ::GetDlgCtrlID(child);
        const std::string key = isUnnamed(id) ? dialogStaticKey(templateId, unnamed++) : dialogControlKey(templateId, id);
        if (const auto text = texts::findText(language, key)) setText(child, *text);
    }
}

void translateMenu(HMENU menu, int menuId) {
    if (menu != nullptr) translateItems(menu, menuId, true);
}

std::wstring uiText(const char* key) { return platform::widen(texts::textString(key)); }

}  // namespace dactyla::dialogs
