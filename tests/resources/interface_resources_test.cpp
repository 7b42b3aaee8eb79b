// The resources and the text tables agree: every text a dialog template or menu holds is the
// Russian table's text under its key, every other language has that key, and the dialogs and
// menus show the table's texts once the language changes. A control added to a template without
// a text in every table fails here.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/dialog_texts.h"
#include "dialogs/help_dialog.h"
#include "platform/win32/windows_headers.h"
#include "resources/resource.h"
#include "support/window_text.h"
#include "texts/interface_texts.h"

// After <windows.h>, which it needs.
#include <commctrl.h>

namespace dactyla::testing {
namespace {

HINSTANCE program() { return ::GetModuleHandleW(nullptr); }

std::wstring wide(std::string_view cp1251) { return platform::widen(std::string(cp1251)); }

// Texts made of digits and signs ("0", counters set at run time) and a picture's resource
// number are not words to translate.
bool holdsWords(const std::wstring& text) {
    if (!text.empty() && text.front() == 0xFFFF) return false;
    for (const wchar_t c : text)
        if (c != 0xFFFF && ((c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c > 0x7F)) return true;
    return false;
}

class Language {
public:
    explicit Language(std::string_view tag) : previous_(texts::currentLanguage().tag) { texts::chooseLanguage(tag); }
    ~Language() { texts::chooseLanguage(previous_); }

private:
    std::string previous_;
};

// Every template of the program, made hidden with a procedure that does nothing; the settings
// pages are children, so they get a parent.
class TranslatedDialogs : public ::testing::Test {
protected:
    static constexpr int kTemplates[] = {IDD_ABOUT, IDD_SETTINGS, IDD_HELP, IDD_SETTINGS_GENERAL,
                                         IDD_SETTINGS_TEXT, IDD_NEW_USER, IDD_IMPORT};

    void SetUp() override {
        INITCOMMONCONTROLSEX controls {sizeof controls, ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
        ::InitCommonControlsEx(&controls);
        parent_ = ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, program(), nullptr);
    }
    void TearDown() override { ::DestroyWindow(parent_); }

    HWND create(int templateId) const {
        return ::CreateDialogParamW(program(), MAKEINTRESOURCEW(templateId), parent_,
                                    [](HWND, UINT, WPARAM, LPARAM) noexcept -> INT_PTR { return FALSE; }, 0);
    }

    // Each text-holding window of the dialog with its key, in the order translateDialog walks.
    static std::vector<std::pair<std::string, HWND>> keyedWindows(HWND dialog, int templateId) {
        std::vector<std::pair<std::string, HWND>> keyed = {{dialogs::dialogTitleKey(templateId), dialog}};
        int unnamed = 0;
        for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
            const int id = ::GetDlgCtrlID(child);
            keyed.emplace_back(id == -1 || id == 0xFFFF ? dialogs::dialogStaticKey(templateId, unnamed++)
                                                        : dialogs::dialogControlKey(templateId, id),
                               child);
        }
        return keyed;
    }

    HWND parent_ = nullptr;
};

TEST_F(TranslatedDialogs, EveryTemplateTextIsTheRussianTablesAndEveryLanguageHasIt) {
    for (const int templateId : kTemplates) {
        const HWND dialog = create(templateId);
        ASSERT_NE(dialog, nullptr) << templateId;
        for (const auto& [key, window] : keyedWindows(dialog, templateId)) {
            const std::wstring shown = windowText(window);
            if (!holdsWords(shown)) continue;
            for (const texts::TextTable& table : texts::textTables()) {
                const auto text = texts::findText(table, key);
                ASSERT_TRUE(text) << table.tag << " has no " << key << " for \"" << platform::narrow(shown) << "\"";
                if (&table == &texts::ownLanguage()) EXPECT_EQ(wide(*text), shown) << key;
            }
        }
        ::DestroyWindow(dialog);
    }
}

TEST_F(TranslatedDialogs, AnEnglishDialogShowsTheEnglishTableAndARussianOneItsTemplate) {
    for (const int templateId : kTemplates) {
        std::vector<std::wstring> russian;
        {
            const HWND dialog = create(templateId);
            ASSERT_NE(dialog, nullptr);
            dialogs::translateDialog(dialog, templateId);  // Russian: nothing changes
            for (const auto& entry : keyedWindows(dialog, templateId)) russian.push_back(windowText(entry.second));
            ::DestroyWindow(dialog);
        }
        const Language english("en");
        const HWND dialog = create(templateId);
        dialogs::translateDialog(dialog, templateId);
        const auto keyed = keyedWindows(dialog, templateId);
        ASSERT_EQ(keyed.size(), russian.size());
        for (std::size_t k = 0; k < keyed.size(); ++k) {
            const auto text = texts::findText(texts::currentLanguage(), keyed[k].first);
            EXPECT_EQ(windowText(keyed[k].second), text ? wide(*text) : russian[k]) << keyed[k].first;
        }
        ::DestroyWindow(dialog);
    }
}

struct MenuItem {
    std::string key;
    std::wstring text;
};

std::vector<MenuItem> keyedItems(HMENU menu, int menuId, bool menuBar) {
    std::vector<MenuItem> items;
    for (int position = 0; position < ::GetMenuItemCount(menu); ++position) {
        wchar_t text[128] = {};
        MENUITEMINFOW info {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 128;
        ::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
        if (info.fType & MFT_SEPARATOR) continue;
        items.push_back({info.hSubMenu != nullptr && menuBar ? dialogs::menuPopupKey(menuId, position)
                                                             : dialogs::menuItemKey(menuId, info.wID),
                         text});
        if (info.hSubMenu != nullptr)
            for (MenuItem& item : keyedItems(info.hSubMenu, menuId, false)) items.push_back(std::move(item));
    }
    return items;
}

TEST(TranslatedMenus, EveryMenuTextIsInEveryTableAndSwitchesWithTheLanguage) {
    for (const int menuId : {IDM_MAIN_MENU, IDM_HELP_MENU}) {
        const HMENU menu = ::LoadMenuW(program(), MAKEINTRESOURCEW(menuId));
        ASSERT_NE(menu, nullptr);
        const std::vector<MenuItem> russian = keyedItems(menu, menuId, true);
        for (const MenuItem& item : russian) {
            // Named at run time: the Start/Stop item by the session, the interface item by the
            // language it offers.
            if (item.key == dialogs::menuItemKey(IDM_MAIN_MENU, IDM_START_STOP) ||
                item.key == dialogs::menuItemKey(IDM_MAIN_MENU, IDM_INTERFACE_LANGUAGE))
                continue;
            for (const texts::TextTable& table : texts::textTables()) {
                const auto text = texts::findText(table, item.key);
                ASSERT_TRUE(text) << table.tag << " has no " << item.key;
                if (&table == &texts::ownLanguage()) EXPECT_EQ(wide(*text), item.text) << item.key;
            }
        }
        {
            const Language english("en");
            dialogs::translateMenu(menu, menuId);
        }
        const Language russianAgain("ru");
        dialogs::translateMenu(menu, menuId);
        const std::vector<MenuItem> back = keyedItems(menu, menuId, true);
        ASSERT_EQ(back.size(), russian.size());
        for (std::size_t k = 0; k < back.size(); ++k) EXPECT_EQ(back[k].text, russian[k].text) << back[k].key;
        ::DestroyMenu(menu);
    }
}

TEST(TranslatedHelp, EveryLanguageHasItsFourPagesAndTheSubheadingOfItsFirst) {
    for (const texts::TextTable& table : texts::textTables()) {
        const Language language(table.tag);
        for (const int page : {IDR_HELP_PAGE_MAIN, IDR_HELP_PAGE_SETTINGS, IDR_HELP_PAGE_HOT_KEYS, IDR_HELP_PAGE_MISC}) {
            const auto found = ::FindResourceExW(program(), L"TEXT", MAKEINTRESOURCEW(page),
                                                 static_cast<WORD>(table.windowsLanguage));
            EXPECT_NE(found, nullptr) << table.tag << " page " << page;
        }
        const std::wstring main = dialogs::loadHelpPage(program(), IDR_HELP_PAGE_MAIN);
        const std::wstring subheading = wide(texts::text("help.subheading"));
        ASSERT_FALSE(subheading.empty());
        EXPECT_NE(main.find(subheading), std::wstring::npos) << table.tag;
        if (&table == &texts::ownLanguage())
            EXPECT_EQ(main.find(subheading), static_cast<std::size_t>(dialogs::kSubheadingStart));
    }
}

}  // namespace
}  // namespace dactyla::testing

#endif  // _WIN32
