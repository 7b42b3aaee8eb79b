#include "app/main_menu.h"

#include <gtest/gtest.h>

#include <vector>

#include "resources/resource.h"

namespace dactyla::app {
namespace {

std::wstring itemText(HMENU menu, UINT id) {
    wchar_t text[128] = {};
    ::GetMenuStringW(menu, id, text, 128, MF_BYCOMMAND);
    return text;
}

UINT itemState(HMENU menu, UINT id) { return ::GetMenuState(menu, id, MF_BYCOMMAND); }

// The popup that holds "Новый...".
HMENU usersPopup(HMENU bar) {
    for (int i = 0; i < ::GetMenuItemCount(bar); ++i) {
        const HMENU popup = ::GetSubMenu(bar, i);
        if (popup != nullptr && ::GetMenuState(popup, IDM_NEW_USER, MF_BYCOMMAND) != static_cast<UINT>(-1)) return popup;
    }
    return nullptr;
}

std::vector<UINT> idsOf(HMENU popup) {
    std::vector<UINT> ids;
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i) ids.push_back(::GetMenuItemID(popup, i));
    return ids;
}

class MainMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        bar_ = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDM_MAIN_MENU));
        ASSERT_NE(bar_, nullptr);
        menu_.attach(bar_);
    }
    void TearDown() override { ::DestroyMenu(bar_); }

    HMENU bar_ = nullptr;
    MainMenu menu_;
};

TEST_F(MainMenuTest, UsersAppearInTheOrderAddedBetweenTheTwoSeparators) {
    menu_.addUserItem("Anna", 1);
    menu_.addUserItem("\xC1\xEE\xF0\xE8\xF1", 2);  // "Борис"
    const HMENU users = usersPopup(bar_);
    ASSERT_NE(users, nullptr);
    // "Прогресс...", "График...", separator, the users, the closing separator 40200, "Новый...".
    const std::vector<UINT> expected = {IDM_PROGRESS, IDM_CHART, 0, IDM_USER_BASE + 1, IDM_USER_BASE + 2,
                                        IDM_USER_SEPARATOR, IDM_NEW_USER};
    ASSERT_EQ(idsOf(users), expected);
    EXPECT_TRUE(::GetMenuState(users, 5, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(itemText(bar_, IDM_USER_BASE + 1), L"Anna");
    EXPECT_EQ(itemText(bar_, IDM_USER_BASE + 2), L"\u0411\u043E\u0440\u0438\u0441");
    EXPECT_EQ(menu_.userCount(), 2);

    MENUITEMINFOW info {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    ASSERT_TRUE(::GetMenuItemInfoW(bar_, IDM_USER_BASE + 2, FALSE, &info));
    EXPECT_TRUE(info.fType & MFT_RADIOCHECK);
    EXPECT_EQ(info.fState, 0u);
}

TEST_F(MainMenuTest, CheckingAUserUnchecksTheOthers) {
    menu_.addUserItem("Anna", 1);
    menu_.addUserItem("Boris", 2);
    menu_.addUserItem("Clara", 3);
    menu_.checkUserItem(2);
    EXPECT_TRUE(itemState(bar_, IDM_USER_BASE + 2) & MF_CHECKED);
    menu_.checkUserItem(3);
    EXPECT_FALSE(itemState(bar_, IDM_USER_BASE + 2) & MF_CHECKED);
    EXPECT_TRUE(itemState(bar_, IDM_USER_BASE + 3) & MF_CHECKED);
    EXPECT_FALSE(itemState(bar_, IDM_USER_BASE + 1) & MF_CHECKED);
}

TEST_F(MainMenuTest, OnlyAddedUsersAreUserCommands) {
    menu_.addUserItem("Anna", 1);
    menu_.addUserItem("Boris", 2);
    EXPECT_FALSE(menu_.isUserCommand(IDM_USER_SEPARATOR));
    EXPECT_TRUE(menu_.isUserCommand(IDM_USER_BASE + 1));
    EXPECT_TRUE(menu_.isUserCommand(IDM_USER_BASE + 2));
    EXPECT_FALSE(menu_.isUserCommand(IDM_USER_BASE + 3));
    EXPECT_FALSE(menu_.isUserCommand(IDM_NEW_USER));
}

TEST_F(MainMenuTest, AlphabetItemFollowsTheOption) {
    menu_.checkAlphabetItem(true);
    EXPECT_TRUE(itemState(bar_, IDM_ALPHABET) & MF_CHECKED);
    menu_.checkAlphabetItem(false);
    EXPECT_FALSE(itemState(bar_, IDM_ALPHABET) & MF_CHECKED);
}

TEST_F(MainMenuTest, StartStopItemSpeaksTheSessionAndTheLanguage) {
    menu_.updateStartStopLabel(nullptr, false, true);
    EXPECT_EQ(itemText(bar_, IDM_START_STOP), L"<  \u041F\u0423\u0421\u041A  >");  // ПУСК
    menu_.updateStartStopLabel(nullptr, true, true);
    EXPECT_EQ(itemText(bar_, IDM_START_STOP), L"<  \u0421\u0422\u041E\u041F  >");  // СТОП
    menu_.updateStartStopLabel(nullptr, false, false);
    EXPECT_EQ(itemText(bar_, IDM_START_STOP), L"< START >");
    menu_.updateStartStopLabel(nullptr, true, false);
    EXPECT_EQ(itemText(bar_, IDM_START_STOP), L"<  STOP  >");
    EXPECT_EQ(::GetMenuItemID(bar_, 0), static_cast<UINT>(IDM_START_STOP));
}

}  // namespace
}  // namespace dactyla::app
