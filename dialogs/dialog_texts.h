#pragma once
// Dialogs and menus in the interface language. Their resources hold the Russian texts; the text
// tables (texts/interface_texts.h) name each one by the template or menu and the control,
// command or position, so a dialog is given its texts as it opens and a menu when the language
// changes.
#include <string>

#include "platform/win32/windows_headers.h"

namespace dactyla::dialogs {

// The table key of a dialog's caption and of a control with an id, or the n-th without one.
std::string dialogTitleKey(int templateId);
std::string dialogControlKey(int templateId, int controlId);
std::string dialogStaticKey(int templateId, int unnamedIndex);
std::string menuItemKey(int menuId, unsigned command);
std::string menuPopupKey(int menuId, int position);

// Gives a dialog made from `templateId` the texts of the current language. Controls keep the
// template's text where the table has none for them (icons, counters set at run time).
void translateDialog(HWND dialog, int templateId);

// Sets every item of menu `menuId` that the table names to the current language's text; items
// it does not name (users, the Start/Stop item) keep theirs. Popups are looked for on the menu
// bar only, where the program's menus have them.
void translateMenu(HMENU menu, int menuId);

// A text of the current language as the wide API wants it.
std::wstring uiText(const char* key);

}  // namespace dactyla::dialogs
