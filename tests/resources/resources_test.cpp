// The program's resources as the Windows side sees them, read back through the wide API so
// that Russian texts are checked on any system code page (the suite runs with code page 1252),
// and the help, about, new-user and settings dialogs driven through their own message loops.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/about_dialog.h"
#include "dialogs/help_dialog.h"
#include "dialogs/new_user_dialog.h"
#include "dialogs/settings_dialog.h"
#include "platform/win32/windows_headers.h"
#include "resources/help_page_checks.h"
#include "resources/resource.h"
#include "support/window_text.h"
#include "shell/handles.h"

// After <windows.h>, which it needs.
#include <commctrl.h>

namespace dactyla::testing {
namespace {

HINSTANCE program() { return ::GetModuleHandleW(nullptr); }

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

// ---------------------------------------------------------------- menus and strings

struct MenuEntry {
    std::wstring text;  // empty for a separator
    UINT id = 0;
    std::vector<MenuEntry> items;  // a popup's items

    bool operator==(const MenuEntry&) const = default;
};

std::vector<MenuEntry> readMenu(HMENU menu) {
    std::vector<MenuEntry> entries;
    for (int position = 0; position < ::GetMenuItemCount(menu); ++position) {
        wchar_t text[128] = {};
        MENUITEMINFOW item {};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
        item.dwTypeData = text;
        item.cch = 128;
        ::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &item);
        MenuEntry entry {(item.fType & MFT_SEPARATOR) ? L"" : text, item.wID, {}};
        if (item.hSubMenu != nullptr) {
            entry.id = 0;
            entry.items = readMenu(item.hSubMenu);
        }
        entries.push_back(entry);
    }
    return entries;
}

void PrintTo(const MenuEntry& entry, std::ostream* out) {
    *out << "{" << ::testing::PrintToString(entry.text) << ", " << entry.id << ", "
         << ::testing::PrintToString(entry.items) << "}";
}

struct OwnedMenu {
    explicit OwnedMenu(int id) : menu(::LoadMenuW(program(), MAKEINTRESOURCEW(id))) {}
    ~OwnedMenu() {
        if (menu != nullptr) ::DestroyMenu(menu);
    }
    OwnedMenu(const OwnedMenu&) = delete;
    OwnedMenu& operator=(const OwnedMenu&) = delete;
    HMENU menu;
};

const MenuEntry kSeparator {};

TEST(ProgramResources, MainMenuHasItsTextsAndCommandsInOrder) {
    OwnedMenu main(IDM_MAIN_MENU);
    ASSERT_NE(main.menu, nullptr);
    const std::vector<MenuEntry> expected = {
        {L"<  ПУСК  >", IDM_START_STOP, {}},
        kSeparator,
        {L"Опции",
         0,
         {{L"Поменять язык   F1", IDM_SWITCH_LANGUAGE, {}},
          {L"Алфавит", IDM_ALPHABET, {}},
          {L"Курс", IDM_COURSE, {}},
          {L"Слабые места", IDM_WEAK_KEYS, {}},
          {L"Клавиатура", IDM_KEYBOARD, {}},
          kSeparator,
          {L"Курс...", IDM_COURSE_WINDOW, {}},
          {L"Настройки...          F2", IDM_SETTINGS, {}},
          kSeparator,
          {L"English interface", IDM_INTERFACE_LANGUAGE, {}}}},
        {L"Ученики",
         0,
         {{L"Прогресс...", IDM_PROGRESS, {}},
          {L"График...", IDM_CHART, {}},
          kSeparator,
          {L"Новый...", IDM_NEW_USER, {}}}},
        {L"Помощь", 0, {{L"Помощь", IDM_HELP, {}}, kSeparator, {L"Ооо...", IDM_ABOUT, {}}}},
    };
    EXPECT_EQ(readMenu(main.menu), expected);
    // The commands the code relies on, by number.
    EXPECT_EQ(IDM_START_STOP, 40008);
    EXPECT_EQ(IDM_SETTINGS, 40009);
    EXPECT_EQ(IDM_SWITCH_LANGUAGE, 40017);
    EXPECT_EQ(IDM_HELP, 40021);
    EXPECT_EQ(IDM_NEW_USER, 40029);
    EXPECT_EQ(IDM_PROGRESS, 40031);
    EXPECT_EQ(IDM_CHART, 40032);
    EXPECT_EQ(IDM_ALPHABET, 40033);
    EXPECT_EQ(IDM_COURSE, 40040);
    EXPECT_EQ(IDM_WEAK_KEYS, 40041);
    EXPECT_EQ(IDM_KEYBOARD, 40042);
    EXPECT_EQ(IDM_ABOUT, 40007);
    EXPECT_EQ(IDM_INTERFACE_LANGUAGE, 40043);
    EXPECT_EQ(IDM_USER_SEPARATOR, 40200);
}

TEST(ProgramResources, HelpMenuBarSwitchesBetweenFourPagesWithSeparatorsBetween) {
    OwnedMenu help(IDM_HELP_MENU);
    ASSERT_NE(help.menu, nullptr);
    const std::vector<MenuEntry> expected = {
        {L"Главное", 40034, {}},         kSeparator, {L"Настройки", 40009, {}}, kSeparator,
        {L"Горячие клавиши", 40035, {}}, kSeparator, {L"Разное", 40036, {}},    kSeparator,
    };
    EXPECT_EQ(readMenu(help.menu), expected);
}

TEST(ProgramResources, StringTableHoldsTheLanguageLockMessage) {
    wchar_t text[256] = {};
    ASSERT_GT(::LoadStringW(program(), IDS_LANGUAGE_LOCKED, text, 256), 0);
    EXPECT_EQ(std::wstring(text), L"Сначала закончи текущую игру,\nа уже потом меняй язык.");
}

// ---------------------------------------------------------------- help pages

constexpr WORD kRussian = MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT);
constexpr WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

std::string storedPage(int id, WORD language) {
    const HRSRC found = ::FindResourceExW(program(), L"TEXT", MAKEINTRESOURCEW(id), language);
    if (found == nullptr) return {};
    const auto* bytes = static_cast<const char*>(::LockResource(::LoadResource(program(), found)));
    return std::string(bytes, ::SizeofResource(program(), found));
}

TEST(ProgramResources, HelpPagesAreStoredLaidOutForTheFixedPitchBox) {
    struct Page {
        int id;
        WORD language;
        const wchar_t* title;
        HelpPageRules rules;
    };
    const Page pages[] = {
        {IDR_HELP_PAGE_MAIN, kRussian, L"САМОЕ ГЛАВНОЕ", {5, 50}},
        {IDR_HELP_PAGE_SETTINGS, kRussian, L"НАСТРОЕЧКИ", {5, 50}},
        {IDR_HELP_PAGE_HOT_KEYS, kRussian, L"\"ГОРЯЧИЕ\" КЛАВИШИ", {5, 50}},
        {IDR_HELP_PAGE_MISC, kRussian, L"РАЗНОЕ", {6, 53}},
        {IDR_HELP_PAGE_MAIN, kEnglish, L"THE MAIN THING", {5, 50}},
        {IDR_HELP_PAGE_SETTINGS, kEnglish, L"SETTINGS", {5, 50}},
        {IDR_HELP_PAGE_HOT_KEYS, kEnglish, L"\"HOT\" KEYS", {5, 50}},
        {IDR_HELP_PAGE_MISC, kEnglish, L"ODDS AND ENDS", {6, 53}},
    };
    for (const Page& page : pages) {
        SCOPED_TRACE(page.id);
        SCOPED_TRACE(page.language);
        const std::string stored = storedPage(page.id, page.language);
        ASSERT_FALSE(stored.empty());
        for (const std::string& fault : helpPageFaults(stored, page.rules)) ADD_FAILURE() << fault;
        const std::wstring text = platform::widen(stored.substr(0, stored.size() - 1));
        ASSERT_EQ(stored.back(), '\0');
        const std::wstring titleLine = text.substr(26, text.find(L"\r\n", 26) - 26);
        EXPECT_EQ(titleLine, std::wstring(page.rules.titleIndent, L' ') + page.title);
        if (page.language == kRussian) {
            EXPECT_EQ(dialogs::loadHelpPage(program(), page.id), text) << "the Russian page while Russian is spoken";
        }
    }
}

TEST(ProgramResources, HelpPagesSayWhatTheyPromise) {
    const std::wstring main = dialogs::loadHelpPage(program(), IDR_HELP_PAGE_MAIN);
    EXPECT_EQ(main.substr(dialogs::kSubheadingStart, dialogs::kSubheadingEnd - dialogs::kSubheadingStart),
              L"Как правильно вводить текст ?");
    EXPECT_NE(main.find(L"Ф Ы В А"), std::wstring::npos);
    EXPECT_NE(main.find(L"О Л Д Ж"), std::wstring::npos);
    EXPECT_NE(main.find(L"Ы В А М"), std::wstring::npos);
    EXPECT_NE(main.rfind(L"УСПЕХОВ !!!\r\n"), std::wstring::npos);
    EXPECT_EQ(main.size() - main.rfind(L"УСПЕХОВ !!!\r\n"), 13u) << "the page ends with the wishes";

    const std::wstring settings = dialogs::loadHelpPage(program(), IDR_HELP_PAGE_SETTINGS);
    EXPECT_NE(settings.find(L"   1.   ОБЩИЕ\r\n"), std::wstring::npos);
    EXPECT_NE(settings.find(L"   2.   ТЕКСТ\r\n"), std::wstring::npos);
    EXPECT_NE(settings.find(L"TextData.Rus"), std::wstring::npos);

    const std::wstring hotKeys = dialogs::loadHelpPage(program(), IDR_HELP_PAGE_HOT_KEYS);
    for (const wchar_t* key : {L"F1", L"F2", L"F4", L"Alt+F4", L"Esc", L"Enter", L"Pause"}) {
        EXPECT_NE(hotKeys.find(key), std::wstring::npos) << key;
    }

    const std::wstring misc = dialogs::loadHelpPage(program(), IDR_HELP_PAGE_MISC);
    EXPECT_NE(misc.find(L"15.04.2000"), std::wstring::npos);
    EXPECT_NE(misc.find(L"написаны специально для"), std::wstring::npos);
}

TEST(ProgramResources, MissingHelpPageLoadsAsEmptyText) {
    EXPECT_TRUE(dialogs::loadHelpPage(program(), 183).empty());
    EXPECT_EQ(dialogs::helpPageForCommand(IDM_HELP_PAGE_MISC), IDR_HELP_PAGE_MISC);
    EXPECT_EQ(dialogs::helpPageForCommand(IDM_ABOUT), 0);
}

// ---------------------------------------------------------------- pictures and icons

TEST(ProgramResources, BitmapsHaveTheirSizesIn256Colours) {
    struct Picture {
        int id;
        LONG width;
        LONG height;
    };
    for (const Picture& picture :
         {Picture {IDB_ABOUT_PORTRAIT, 170, 240}, Picture {IDB_ABOUT_KEYBOARD, 164, 93},
          Picture {IDB_BACKGROUND, 594, 202}}) {
        SCOPED_TRACE(picture.id);
        const auto bitmap = static_cast<HBITMAP>(
            ::LoadImageW(program(), MAKEINTRESOURCEW(picture.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(bitmap, nullptr);
        BITMAP info {};
        ::GetObjectW(bitmap, sizeof(info), &info);
        ::DeleteObject(bitmap);
        EXPECT_EQ(info.bmWidth, picture.width);
        EXPECT_EQ(info.bmHeight, picture.height);
        EXPECT_EQ(info.bmBitsPixel, 8);
    }
}

#pragma pack(push, 2)
struct IconDirectoryEntry {
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST(ProgramResources, IconsAre32By32In16Colours) {
    for (int id : {IDI_HAND_ON_KEY, IDI_OPEN_BOOK, IDI_WOMAN, IDI_MAN}) {
        SCOPED_TRACE(id);
        const HRSRC group =
            ::FindResourceW(program(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
        ASSERT_NE(group, nullptr);
        const auto* header = static_cast<const WORD*>(::LockResource(::LoadResource(program(), group)));
        ASSERT_EQ(header[2], 1) << "one image";
        const auto* entry = reinterpret_cast<const IconDirectoryEntry*>(header + 3);
        EXPECT_EQ(entry->width, 32);
        EXPECT_EQ(entry->height, 32);
        EXPECT_EQ(entry->colourCount, 16);
        EXPECT_EQ(entry->bitCount, 4);
        const HICON icon = ::LoadIconW(program(), MAKEINTRESOURCEW(id));
        EXPECT_NE(icon, nullptr);
    }
}

// Scaled dialogs take their icons from these: the same drawings at the sizes of 125, 150 and
// 200 %, in full colour, so no 32-pixel image is ever stretched.
TEST(ProgramResources, LargeIconsHoldEachDrawingAt40_48And64Pixels) {
    for (int id : {IDI_HAND_ON_KEY_LARGE, IDI_OPEN_BOOK_LARGE, IDI_WOMAN_LARGE, IDI_MAN_LARGE}) {
        SCOPED_TRACE(id);
        const HRSRC group = ::FindResourceW(program(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(14));
        ASSERT_NE(group, nullptr);
        const auto* header = static_cast<const WORD*>(::LockResource(::LoadResource(program(), group)));
        ASSERT_EQ(header[2], 3);
        const auto* entries = reinterpret_cast<const IconDirectoryEntry*>(header + 3);
        for (int k = 0; k < 3; ++k) {
            const int size = std::array {40, 48, 64}[static_cast<std::size_t>(k)];
            EXPECT_EQ(entries[k].width, size);
            EXPECT_EQ(entries[k].height, size);
            EXPECT_EQ(entries[k].bitCount, 32);
            // Loading an icon of that size picks this very image, as LoadImage does.
            EXPECT_EQ(::LookupIconIdFromDirectoryEx(reinterpret_cast<PBYTE>(const_cast<WORD*>(header)), TRUE, size, size,
                                                    LR_DEFAULTCOLOR),
                      entries[k].id);
        }
    }
}

// ---------------------------------------------------------------- dialog templates

// A hidden top-level window: the owner of the dialogs under test, and the host of the timer
// that drives modal dialogs from inside their own message loops.
class HiddenOwner {
public:
    HiddenOwner() {
        WNDCLASSW windowClass {};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = program();
        windowClass.lpszClassName = L"DactylaTestOwner";
        ::RegisterClassW(&windowClass);  // fails harmlessly when already registered
        window_ = ::CreateWindowExW(0, L"DactylaTestOwner", L"owner", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                    nullptr, program(), nullptr);
    }
    ~HiddenOwner() {
        if (window_ != nullptr) ::DestroyWindow(window_);
    }
    HiddenOwner(const HiddenOwner&) = delete;
    HiddenOwner& operator=(const HiddenOwner&) = delete;

    HWND get() const { return window_; }

    // Calls `tick` every few milliseconds until the timer is stopped.
    void startTicks(std::function<void()> tick) {
        tick_ = std::move(tick);
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ::SetTimer(window_, 1, 15, nullptr);
    }
    void stopTicks() { ::KillTimer(window_, 1); }

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        if (message == WM_TIMER) {
            if (auto* owner = reinterpret_cast<HiddenOwner*>(::GetWindowLongPtrW(window, GWLP_USERDATA))) {
                owner->tick_();
            }
            return 0;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }

    HWND window_ = nullptr;
    std::function<void()> tick_;
};

struct Control {
    std::wstring kind;  // window class
    int id;
    std::wstring text;
    RECT rect;  // dialog units; left, top, width, height
};

std::vector<Control> readControls(HWND dialog) {
    std::vector<Control> controls;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        controls.push_back({className(child), ::GetDlgCtrlID(child), windowText(child), {}});
    }
    return controls;
}

// Where a control stands in its dialog's client area, in pixels.
RECT clientRectOf(HWND control) {
    RECT rect {};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The dialog manager converts position and size separately, so the far edge is their sum.
RECT pixelsOf(HWND dialog, RECT dialogUnits) {
    RECT rect = dialogUnits;
    ::MapDialogRect(dialog, &rect);
    return {rect.left, rect.top, rect.left + rect.right, rect.top + rect.bottom};
}

std::string describe(const RECT& rect) {
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "-" + std::to_string(rect.right) +
           "," + std::to_string(rect.bottom);
}

class DialogTemplates : public ::testing::Test {
protected:
    // Creates the dialog from its template, hidden, with a procedure that does nothing.
    HWND create(int id) {
        dialog_ = ::CreateDialogParamW(
            program(), MAKEINTRESOURCEW(id), owner_.get(),
            [](HWND, UINT, WPARAM, LPARAM) noexcept -> INT_PTR { return FALSE; }, 0);
        return dialog_;
    }
    void TearDown() override {
        if (dialog_ != nullptr) ::DestroyWindow(dialog_);
    }

    // Checks kinds, ids, texts and, unless `sizedBySystem` holds for the control, its rectangle.
    void expectControls(const std::vector<Control>& expected,
                        const std::function<bool(HWND)>& sizedBySystem) {
        const std::vector<Control> actual = readControls(dialog_);
        ASSERT_EQ(actual.size(), expected.size());
        HWND child = ::GetWindow(dialog_, GW_CHILD);
        for (std::size_t i = 0; i < expected.size(); ++i, child = ::GetWindow(child, GW_HWNDNEXT)) {
            SCOPED_TRACE(i);
            EXPECT_EQ(actual[i].kind, expected[i].kind);
            EXPECT_EQ(actual[i].id, expected[i].id);
            EXPECT_EQ(actual[i].text, expected[i].text);
            if (!sizedBySystem(child)) {
                EXPECT_EQ(describe(clientRectOf(child)), describe(pixelsOf(dialog_, expected[i].rect)));
            }
        }
    }

    void expectFrame(const wchar_t* caption, LONG width, LONG height, const wchar_t* face) {
        EXPECT_EQ(windowText(dialog_), caption);
        const LONG style = ::GetWindowLongW(dialog_, GWL_STYLE);
        EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_POPUP | DS_MODALFRAME),
                  WS_CAPTION | WS_SYSMENU | WS_POPUP | DS_MODALFRAME);
        EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0);
        RECT client {};
        ::GetClientRect(dialog_, &client);
        const RECT expected = pixelsOf(dialog_, {0, 0, width, height});
        EXPECT_EQ(client.right, expected.right);
        EXPECT_EQ(client.bottom, expected.bottom);
        LOGFONTW font {};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(dialog_, WM_GETFONT, 0, 0)), sizeof(font), &font);
        EXPECT_EQ(std::wstring(font.lfFaceName), face);
    }

    HiddenOwner owner_;
    HWND dialog_ = nullptr;
};

bool never(HWND) { return false; }

// Dialogs draw an edit's border as a sunken client edge.
bool bordered(HWND control) {
    return (::GetWindowLongW(control, GWL_STYLE) & WS_BORDER) != 0 ||
           (::GetWindowLongW(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
}

// A picture control made from a template names its resource as its text.
std::wstring picture(int id) { return {wchar_t {0xFFFF}, static_cast<wchar_t>(id)}; }

bool isIcon(HWND control) { return (::GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON; }

TEST_F(DialogTemplates, HelpHasItsButtonReadOnlyWrappingBoxAndPageMenu) {
    ASSERT_NE(create(IDD_HELP), nullptr);
    expectFrame(L"Помощь", 233, 194, L"Courier New");
    expectControls(
        {{L"Button", IDOK, L"Я понял", {5, 173, 223, 18}}, {L"Edit", IDC_HELP_TEXT, L"", {5, 5, 223, 163}}},
        never);
    const LONG button = ::GetWindowLongW(::GetDlgItem(dialog_, IDOK), GWL_STYLE);
    EXPECT_EQ(button & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    const HWND box = ::GetDlgItem(dialog_, IDC_HELP_TEXT);
    const LONG style = ::GetWindowLongW(box, GWL_STYLE);
    const LONG wanted = ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_TABSTOP;
    EXPECT_EQ(style & wanted, wanted);
    EXPECT_TRUE(bordered(box));
    EXPECT_EQ(style & (ES_AUTOHSCROLL | WS_HSCROLL), 0) << "lines wrap instead of scrolling sideways";
    const std::vector<MenuEntry> menu = readMenu(::GetMenu(dialog_));
    ASSERT_EQ(menu.size(), 8u);
    EXPECT_EQ(menu[0].id, static_cast<UINT>(IDM_HELP_PAGE_MAIN));
}

TEST_F(DialogTemplates, AboutShowsPicturesDescriptionAndZeroTotals) {
    ASSERT_NE(create(IDD_ABOUT), nullptr);
    expectFrame(L"!!! Ооо-о-о программе Dactyla-a-aaa !!!", 210, 181, L"Times New Roman");
    const std::wstring description =
        L"Это типа тренажёра для пальцев и всё такое...\nРекомендуется машинисткам,\n"
        L"машинистам и новым русским.\nДата выхода: 15.04.2000, сделано с душой";
    expectControls({{L"Button", IDOK, L"ЖМИ !", {110, 133, 95, 43}},
                    {L"Static", IDC_STATIC, description, {5, 5, 200, 37}},
                    {L"Static", IDC_STATIC, picture(IDB_ABOUT_PORTRAIT), {5, 47, 98, 129}},
                    {L"Static", IDC_STATIC, picture(IDI_WOMAN), {12, 13, 20, 20}},
                    {L"Static", IDC_STATIC, picture(IDI_MAN), {183, 14, 20, 20}},
                    {L"Static", IDC_STATIC, picture(IDI_HAND_ON_KEY), {175, 146, 20, 20}},
                    {L"Static", IDC_STATIC, picture(IDB_ABOUT_KEYBOARD), {110, 47, 95, 49}},
                    {L"Static", IDC_STATIC, L"ВЫ набрали:", {110, 101, 53, 8}},
                    {L"Static", IDC_ABOUT_TOTALS, L"0 символов\nза 0 :00:00", {110, 111, 95, 16}}},
                   isIcon);
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(dialog_, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    ASSERT_EQ(children.size(), 9u);
    const auto pictureSize = [](HWND control) {
        BITMAP info {};
        const auto bitmap = reinterpret_cast<HBITMAP>(::SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
        if (bitmap != nullptr) ::GetObjectW(bitmap, sizeof(info), &info);
        return std::make_pair(info.bmWidth, info.bmHeight);
    };
    EXPECT_EQ(pictureSize(children[2]), std::make_pair(LONG {170}, LONG {240}));
    EXPECT_EQ(pictureSize(children[6]), std::make_pair(LONG {164}, LONG {93}));
    for (int i : {3, 4, 5}) {
        EXPECT_NE(::SendMessageW(children[i], STM_GETICON, 0, 0), 0) << i;
    }
    const LONG button = ::GetWindowLongW(children[0], GWL_STYLE);
    EXPECT_EQ(button & (BS_CENTER | BS_VCENTER), BS_CENTER | BS_VCENTER);
    EXPECT_EQ(button & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_NE(::GetWindowLongW(children[1], GWL_STYLE) & SS_SUNKEN, 0);
}

TEST_F(DialogTemplates, NewUserAsksForTheName) {
    ASSERT_NE(create(IDD_NEW_USER), nullptr);
    expectFrame(L"A Question Of Time", 134, 54, L"MS Sans Serif");
    expectControls({{L"Button", IDOK, L"Это я !", {5, 35, 68, 14}},
                    {L"Button", IDCANCEL, L"Отмена", {88, 35, 41, 14}},
                    {L"Edit", IDC_NEW_USER_NAME, L"", {5, 17, 124, 13}},
                    {L"Static", IDC_STATIC, L"Введите имя нового пользователя:", {5, 5, 124, 8}}},
                   never);
    const HWND edit = ::GetDlgItem(dialog_, IDC_NEW_USER_NAME);
    EXPECT_EQ(::GetWindowLongW(edit, GWL_STYLE) & (ES_AUTOHSCROLL | WS_TABSTOP), ES_AUTOHSCROLL | WS_TABSTOP);
    EXPECT_TRUE(bordered(edit));
}

// ---------------------------------------------------------------- the dialogs at work

// Plays steps against the dialogs of this thread while a modal dialog runs. Each tick hands the
// next step the dialog on top (visible and enabled); steps act by posting, as a user would.
class DialogScript {
public:
    using Step = std::function<void(HWND dialog)>;

    explicit DialogScript(std::vector<Step> steps) : steps_(std::move(steps)) {}

    // Runs `open`, which shows a modal dialog over the owner. False when dialogs were still open
    // long after the last step; they are then closed by force so the test goes on.
    bool play(const std::function<void(HWND owner)>& open) {
        owner_.startTicks([this] { tick(); });
        open(owner_.get());
        owner_.stopTicks();
        return !forced_;
    }

    std::size_t stepsPlayed() const { return next_; }

private:
    static constexpr int kTickLimit = 400;  // about six seconds

    static std::vector<HWND> threadDialogs() {
        std::vector<HWND> dialogs;
        ::EnumThreadWindows(
            ::GetCurrentThreadId(),
            [](HWND window, LPARAM found) noexcept -> BOOL {
                if (className(window) == L"#32770")
                    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&dialogs));
        return dialogs;
    }

    void tick() {
        if (++ticks_ > kTickLimit) {
            forced_ = true;
            for (HWND dialog : threadDialogs()) ::EndDialog(dialog, 0);
            return;
        }
        if (next_ == steps_.size()) return;
        for (HWND dialog : threadDialogs()) {
            if (::IsWindowVisible(dialog) && ::IsWindowEnabled(dialog)) {
                // Advanced first: a step may start a nested loop that ticks again.
                steps_[next_++](dialog);
                return;
            }
        }
    }

    HiddenOwner owner_;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    int ticks_ = 0;
    bool forced_ = false;
};

void press(HWND dialog, int command) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
}

std::pair<DWORD, DWORD> selection(HWND edit) {
    DWORD start = 0, end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

std::wstring helpText(HWND dialog) { return windowText(::GetDlgItem(dialog, IDC_HELP_TEXT)); }

// Whether the control's font has glyphs for Russian letters (checked with a 1252 code page).
bool drawsRussian(HWND control) {
    app::WindowDc dc(control);
    app::SelectionGuard font(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    const wchar_t letters[] = L"ЭтояЖМИЁё";
    WORD glyphs[9] = {};
    if (::GetGlyphIndicesW(dc.get(), letters, 9, glyphs, GGI_MARK_NONEXISTING_GLYPHS) != 9) return false;
    for (WORD glyph : glyphs) {
        if (glyph == 0xFFFF) return false;
    }
    return true;
}

TEST(HelpDialog, OpensOnTheMainPageWithTheSubheadingSelectedAndSwitchesPages) {
    const std::wstring mainPage = dialogs::loadHelpPage(program(), IDR_HELP_PAGE_MAIN);
    DialogScript script({
        [&](HWND dialog) {
            EXPECT_EQ(windowText(dialog), L"Помощь");
            EXPECT_EQ(helpText(dialog), mainPage);
            const HWND box = ::GetDlgItem(dialog, IDC_HELP_TEXT);
            EXPECT_EQ(selection(box), std::make_pair(DWORD {600}, DWORD {629}));
            EXPECT_EQ(::GetFocus(), box);
            EXPECT_TRUE(drawsRussian(box));
            EXPECT_TRUE(drawsRussian(::GetDlgItem(dialog, IDOK)));
            SCROLLINFO scroll {};
            scroll.cbSize = sizeof(scroll);
            scroll.fMask = SIF_PAGE;
            ::GetScrollInfo(box, SB_VERT, &scroll);
            EXPECT_EQ(scroll.nPage, 20u);
            press(dialog, IDM_HELP_PAGE_MISC);
        },
        [&](HWND dialog) {
            EXPECT_EQ(helpText(dialog), dialogs::loadHelpPage(program(), IDR_HELP_PAGE_MISC));
            press(dialog, IDM_HELP_PAGE_SETTINGS);
        },
        [&](HWND dialog) {
            EXPECT_EQ(helpText(dialog), dialogs::loadHelpPage(program(), IDR_HELP_PAGE_SETTINGS));
            press(dialog, IDM_HELP_PAGE_HOT_KEYS);
        },
        [&](HWND dialog) {
            EXPECT_EQ(helpText(dialog), dialogs::loadHelpPage(program(), IDR_HELP_PAGE_HOT_KEYS));
            press(dialog, IDM_HELP_PAGE_MAIN);
        },
        [&](HWND dialog) {
            EXPECT_EQ(helpText(dialog), mainPage);
            press(dialog, IDOK);
        },
    });
    EXPECT_TRUE(script.play([](HWND owner) { dialogs::showHelpDialog(program(), owner); }));
    EXPECT_EQ(script.stepsPlayed(), 5u);
}

TEST(HelpDialog, EscapeClosesItAndItReopensOnTheMainPage) {
    DialogScript script({
        [](HWND dialog) { press(dialog, IDM_HELP_PAGE_MISC); },
        [](HWND dialog) { press(dialog, IDCANCEL); },
        [](HWND dialog) {
            EXPECT_EQ(selection(::GetDlgItem(dialog, IDC_HELP_TEXT)),
                      std::make_pair(DWORD {600}, DWORD {629}));
            press(dialog, IDCANCEL);
        },
    });
    EXPECT_TRUE(script.play([](HWND owner) {
        dialogs::showHelpDialog(program(), owner);
        dialogs::showHelpDialog(program(), owner);
    }));
}

std::wstring aboutTotalsShown(const dialogs::AboutTotals& totals) {
    std::wstring shown;
    DialogScript script({[&](HWND dialog) {
        shown = windowText(::GetDlgItem(dialog, IDC_ABOUT_TOTALS));
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog, IDOK));
        EXPECT_TRUE(drawsRussian(::GetDlgItem(dialog, IDOK)));
        EXPECT_TRUE(drawsRussian(::GetDlgItem(dialog, IDC_ABOUT_TOTALS)));
        press(dialog, IDOK);
    }});
    EXPECT_TRUE(script.play([&](HWND owner) { dialogs::showAboutDialog(program(), owner, totals); }));
    return shown;
}

TEST(AboutDialog, ShowsStoredTotalsPlusTheSessionWithHoursBeyondADay) {
    dialogs::AboutTotals totals;
    totals.userExists = true;
    totals.storedCharacters = 500;
    totals.storedSeconds = 25 * 3600 + 60 + 1;
    EXPECT_EQ(aboutTotalsShown(totals), L"500 символов\n за 25:01:01");

    totals.sessionCharacters = 150;
    totals.sessionMinutes = 2;
    totals.sessionSeconds = 5;
    EXPECT_EQ(aboutTotalsShown(totals), L"650 символов\n за 25:03:06");
}

TEST(AboutDialog, WithoutAUserKeepsTheTemplatesZeroText) {
    dialogs::AboutTotals totals;
    totals.storedCharacters = 77;
    EXPECT_EQ(aboutTotalsShown(totals), L"0 символов\nза 0 :00:00");
}

TEST(AboutDialog, TotalsTextDoesNotWrapNearTheStoredLimits) {
    dialogs::AboutTotals totals;
    totals.userExists = true;
    totals.storedCharacters = 0xFFFFFFFFu;
    totals.storedSeconds = 0xFFFFFFFFu;
    totals.sessionCharacters = 1;
    totals.sessionMinutes = 59;
    totals.sessionSeconds = 59;
    // 4294967295 + 3599 seconds = 1193047 hours, 28 minutes and 14 seconds.
    EXPECT_EQ(dialogs::aboutTotalsText(totals),
              "4294967296 \xF1\xE8\xEC\xE2\xEE\xEB\xEE\xE2\n \xE7\xE0 1193047:28:14");
    EXPECT_EQ(dialogs::aboutTotalsText({true, 0, 59, 0, 0, 1}),
              "0 \xF1\xE8\xEC\xE2\xEE\xEB\xEE\xE2\n \xE7\xE0 0:01:00");
}

class NewUserDialog : public ::testing::Test {
protected:
    bool run(std::vector<DialogScript::Step> steps) {
        request_.createUser = [this](const std::string& name) {
            names_.push_back(name);
            return accept_;
        };
        DialogScript script(std::move(steps));
        bool created = false;
        const bool closed = script.play(
            [&](HWND owner) { created = dialogs::showNewUserDialog(program(), owner, request_); });
        EXPECT_TRUE(closed) << "the dialog did not close";
        EXPECT_EQ(script.stepsPlayed(), expectedSteps_);
        return created;
    }

    static std::wstring nameBox(HWND dialog) { return windowText(::GetDlgItem(dialog, IDC_NEW_USER_NAME)); }

    static void expectNameSelectedAndFocused(HWND dialog) {
        const HWND edit = ::GetDlgItem(dialog, IDC_NEW_USER_NAME);
        EXPECT_EQ(::GetFocus(), edit);
        EXPECT_EQ(selection(edit), std::make_pair(DWORD {0}, static_cast<DWORD>(nameBox(dialog).size())));
    }

    dialogs::NewUserRequest request_;
    std::vector<std::string> names_;
    bool accept_ = true;
    std::size_t expectedSteps_ = 0;
};

TEST_F(NewUserDialog, FirstUserOffersTheDefaultNameAndExitInsteadOfCancel) {
    expectedSteps_ = 1;
    EXPECT_FALSE(run({[](HWND dialog) {
        EXPECT_EQ(windowText(::GetDlgItem(dialog, IDCANCEL)), L"Выход");
        for (int id : {IDOK, IDCANCEL, IDC_NEW_USER_NAME})
            EXPECT_TRUE(drawsRussian(::GetDlgItem(dialog, id))) << id;
        EXPECT_EQ(nameBox(dialog), L"New Typist");
        expectNameSelectedAndFocused(dialog);
        EXPECT_EQ(::SendDlgItemMessageW(dialog, IDC_NEW_USER_NAME, EM_GETLIMITTEXT, 0, 0), 31);
        press(dialog, IDCANCEL);
    }}));
    EXPECT_TRUE(names_.empty());
    EXPECT_FALSE(request_.created);
}

TEST_F(NewUserDialog, CancelKeepsItsTextWhileUsersExist) {
    request_.userExists = true;
    expectedSteps_ = 1;
    EXPECT_FALSE(run({[](HWND dialog) {
        EXPECT_EQ(windowText(::GetDlgItem(dialog, IDCANCEL)), L"Отмена");
        press(dialog, IDCANCEL);
    }}));
}

TEST_F(NewUserDialog, EmptyOrRefusedNamesKeepTheDialogOpenWithTheNameSelected) {
    accept_ = false;
    expectedSteps_ = 4;
    EXPECT_FALSE(run({
        [](HWND dialog) {
            ::SetDlgItemTextW(dialog, IDC_NEW_USER_NAME, L"");
            press(dialog, IDOK);
        },
        [](HWND dialog) {
            expectNameSelectedAndFocused(dialog);
            ::SetDlgItemTextW(dialog, IDC_NEW_USER_NAME, L"CON");
            ::SetFocus(::GetDlgItem(dialog, IDCANCEL));
            press(dialog, IDOK);
        },
        [](HWND dialog) {
            EXPECT_EQ(nameBox(dialog), L"CON");
            expectNameSelectedAndFocused(dialog);
        },
        [](HWND dialog) { press(dialog, IDCANCEL); },
    }));
    EXPECT_EQ(names_, std::vector<std::string> {"CON"}) << "an empty name never reaches the registry";
}

TEST_F(NewUserDialog, CreatedUserIsGreetedByHelpOverTheDialogWhichThenCloses) {
    request_.userExists = true;
    HWND newUser = nullptr;
    expectedSteps_ = 2;
    EXPECT_TRUE(run({
        [&](HWND dialog) {
            newUser = dialog;
            ::SetDlgItemTextW(dialog, IDC_NEW_USER_NAME, L"Анна Ёлкина");
            press(dialog, IDOK);
        },
        [&](HWND dialog) {
            EXPECT_EQ(windowText(dialog), L"Помощь");
            EXPECT_EQ(::GetWindow(dialog, GW_OWNER), newUser);
            EXPECT_EQ(helpText(dialog), dialogs::loadHelpPage(program(), IDR_HELP_PAGE_MAIN));
            EXPECT_TRUE(::IsWindow(newUser));
            press(dialog, IDOK);
        },
    }));
    // Анна Ёлкина, in CP1251 whatever the system code page.
    EXPECT_EQ(names_, std::vector<std::string> {"\xC0\xED\xED\xE0 \xA8\xEB\xEA\xE8\xED\xE0"});
    EXPECT_TRUE(request_.created);
}

TEST_F(NewUserDialog, NamesAreCutAtThirtyOneCharacters) {
    expectedSteps_ = 2;
    EXPECT_TRUE(run({
        [](HWND dialog) {
            ::SetDlgItemTextW(dialog, IDC_NEW_USER_NAME, L"");
            ::SendDlgItemMessageW(dialog, IDC_NEW_USER_NAME, EM_REPLACESEL, FALSE,
                                  reinterpret_cast<LPARAM>(L"abcdefghijklmnopqrstuvwxyz0123456789"));
            press(dialog, IDOK);
        },
        [](HWND dialog) { press(dialog, IDOK); },
    }));
    EXPECT_EQ(names_, std::vector<std::string> {"abcdefghijklmnopqrstuvwxyz01234"});
}

// ---------------------------------------------------------------- the settings dialog

LONG styleOf(HWND dialog, int id) { return ::GetWindowLongW(::GetDlgItem(dialog, id), GWL_STYLE); }

// A page: a hidden child dialog without caption or border that Tab and the dialog keys enter.
void expectPage(HWND page, LONG width, LONG height) {
    const LONG style = ::GetWindowLongW(page, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | DS_CONTROL), WS_CHILD | DS_CONTROL);
    EXPECT_EQ(style & (WS_VISIBLE | WS_CAPTION | WS_BORDER | WS_THICKFRAME), 0);
    RECT client {};
    ::GetClientRect(page, &client);
    const RECT expected = pixelsOf(page, {0, 0, width, height});
    EXPECT_EQ(client.right, expected.right);
    EXPECT_EQ(client.bottom, expected.bottom);
    LOGFONTW font {};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(page, WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_EQ(std::wstring(font.lfFaceName), L"Times New Roman");
}

struct StyleBits {
    int id;
    LONG mask;
    LONG wanted;
};

void expectStyles(HWND dialog, const std::vector<StyleBits>& table) {
    for (const StyleBits& bits : table) EXPECT_EQ(styleOf(dialog, bits.id) & bits.mask, bits.wanted) << bits.id;
}

constexpr LONG kNumberEdit = ES_NUMBER | ES_CENTER | WS_TABSTOP;

TEST_F(DialogTemplates, SettingsFrameHoldsTheTabControlAndThreeButtons) {
    ::InitCommonControls();
    ASSERT_NE(create(IDD_SETTINGS), nullptr);
    expectFrame(L"Настроечки", 198, 130, L"Times New Roman");
    expectControls({{L"SysTabControl32", IDC_SETTINGS_TABS, L"", {2, 2, 194, 110}},
                    {L"Button", IDOK, L"О'Кей", {2, 116, 50, 12}},
                    {L"Button", IDCANCEL, L"Отмена", {72, 116, 50, 12}},
                    {L"Button", IDC_SETTINGS_APPLY, L"Применить", {145, 116, 50, 12}}},
                   never);
    expectStyles(dialog_, {{IDC_SETTINGS_TABS, WS_TABSTOP, WS_TABSTOP},
                           {IDOK, BS_TYPEMASK, BS_DEFPUSHBUTTON},
                           {IDCANCEL, BS_TYPEMASK, BS_PUSHBUTTON},
                           {IDC_SETTINGS_APPLY, BS_TYPEMASK | WS_DISABLED, BS_PUSHBUTTON | WS_DISABLED}});
}

TEST_F(DialogTemplates, SettingsPageGeneralHoldsPictureTimerSoundAndAlphabet) {
    ASSERT_NE(create(IDD_SETTINGS_GENERAL), nullptr);
    expectPage(dialog_, 190, 95);
    expectControls({{L"Button", IDC_STATIC, L" Картинка ", {5, 5, 50, 40}},
                    {L"Button", IDC_PICTURE_MOUNTAINS, L"Горы", {12, 14, 28, 8}},
                    {L"Button", IDC_PICTURE_GRASS, L"Трава", {12, 24, 35, 8}},
                    {L"Button", IDC_PICTURE_DESKTOP, L"Desktop", {12, 34, 40, 8}},
                    {L"Edit", IDC_TIMER_MINUTES, L"", {121, 16, 13, 10}},
                    {L"Edit", IDC_TIMER_SECONDS, L"", {152, 16, 13, 10}},
                    {L"Static", IDC_STATIC, L"мин", {135, 17, 15, 8}},
                    {L"Static", IDC_STATIC, L"сек", {167, 17, 10, 8}},
                    {L"Button", IDC_BACKGROUND_SOUND, L"Фоновый звук", {75, 37, 64, 8}},
                    {L"Button", IDC_TIMER_ENABLED, L"Таймер на", {75, 17, 45, 8}},
                    {L"Button", IDC_ALLOW_CAPITALS, L"разрешить ПЕЧАТНЫЕ буквы", {13, 72, 114, 8}},
                    {L"Button", IDC_UNIFORM_LETTERS, L"равномерное распределение", {13, 82, 108, 8}},
                    {L"Button", IDC_ALPHABET, L"Алфавит", {5, 61, 45, 8}},
                    {L"Button", IDC_STATIC, L" Время работы ", {66, 5, 119, 27}}},
                   never);
    expectStyles(dialog_, {{IDC_PICTURE_MOUNTAINS, BS_TYPEMASK | WS_DISABLED, BS_AUTORADIOBUTTON},
                           {IDC_PICTURE_GRASS, BS_TYPEMASK | WS_DISABLED, BS_AUTORADIOBUTTON | WS_DISABLED},
                           {IDC_PICTURE_DESKTOP, BS_TYPEMASK | WS_DISABLED, BS_AUTORADIOBUTTON},
                           {IDC_TIMER_MINUTES, kNumberEdit, kNumberEdit},
                           {IDC_TIMER_SECONDS, kNumberEdit, kNumberEdit},
                           {IDC_BACKGROUND_SOUND, BS_TYPEMASK, BS_AUTOCHECKBOX},
                           {IDC_TIMER_ENABLED, BS_TYPEMASK, BS_AUTOCHECKBOX},
                           {IDC_ALLOW_CAPITALS, BS_TYPEMASK, BS_AUTOCHECKBOX},
                           {IDC_UNIFORM_LETTERS, BS_TYPEMASK, BS_AUTOCHECKBOX},
                           {IDC_ALPHABET, BS_TYPEMASK, BS_AUTOCHECKBOX}});
    EXPECT_TRUE(bordered(::GetDlgItem(dialog_, IDC_TIMER_MINUTES)));
    EXPECT_TRUE(bordered(::GetDlgItem(dialog_, IDC_TIMER_SECONDS)));
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(dialog_, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    ASSERT_EQ(children.size(), 14u);
    for (int i : {0, 13})
        EXPECT_EQ(::GetWindowLongW(children[i], GWL_STYLE) & (BS_TYPEMASK | BS_CENTER), BS_GROUPBOX | BS_CENTER) << i;
    EXPECT_EQ(::GetWindowLongW(children[6], GWL_STYLE) & SS_TYPEMASK, SS_CENTER) << "мин";
    EXPECT_EQ(::GetWindowLongW(children[7], GWL_STYLE) & SS_TYPEMASK, SS_LEFT) << "сек";
}

TEST_F(DialogTemplates, SettingsPageTextHoldsLengthsLanguageCounterAndImport) {
    ASSERT_NE(create(IDD_SETTINGS_TEXT), nullptr);
    expectPage(dialog_, 190, 96);
    expectControls({{L"Button", IDC_STATIC, L" Предложения ", {5, 5, 180, 45}},
                    {L"Static", IDC_STATIC, L"Длина предложения:", {10, 15, 77, 8}},
                    {L"Static", IDC_STATIC, L"от", {10, 25, 8, 8}},
                    {L"Static", IDC_STATIC, L"до", {41, 24, 8, 8}},
                    {L"Static", IDC_STATIC, L"№ текущего\nпредложения:", {120, 15, 60, 17}},
                    {L"Static", IDC_STATIC, picture(IDI_OPEN_BOOK), {90, 20, 20, 20}},
                    {L"Button", IDC_STATIC, L" Язык ", {5, 55, 46, 36}},
                    {L"Button", IDC_LANGUAGE_ENGLISH, L"English", {10, 78, 38, 8}},
                    {L"Button", IDC_LANGUAGE_RUSSIAN, L"Русский", {10, 65, 40, 8}},
                    {L"Button", IDC_STATIC, L"XXX-Files (текст для ввода) ", {65, 55, 120, 36}},
                    {L"Button", IDC_IMPORT_SENTENCES, L"Добавить предложений...", {70, 71, 110, 10}},
                    {L"Static", IDC_SENTENCE_COUNT, L"0", {155, 34, 25, 8}},
                    {L"Static", IDC_STATIC, L"min:10    max:120", {17, 37, 61, 8}},
                    {L"Edit", IDC_MAX_LENGTH, L"", {52, 25, 16, 10}},
                    {L"Edit", IDC_MIN_LENGTH, L"", {21, 25, 16, 10}},
                    {L"Static", IDC_STATIC, L"из", {144, 34, 8, 8}},
                    {L"Static", IDC_SENTENCE_POSITION, L"0", {111, 34, 28, 8}}},
                   isIcon);
    expectStyles(dialog_, {{IDC_LANGUAGE_ENGLISH, BS_TYPEMASK, BS_AUTORADIOBUTTON},
                           {IDC_LANGUAGE_RUSSIAN, BS_TYPEMASK, BS_AUTORADIOBUTTON},
                           {IDC_IMPORT_SENTENCES, BS_TYPEMASK, BS_PUSHBUTTON},
                           {IDC_MIN_LENGTH, kNumberEdit, kNumberEdit},
                           {IDC_MAX_LENGTH, kNumberEdit, kNumberEdit},
                           {IDC_SENTENCE_COUNT, SS_TYPEMASK, SS_LEFT},
                           {IDC_SENTENCE_POSITION, SS_TYPEMASK, SS_RIGHT}});
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(dialog_, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    ASSERT_EQ(children.size(), 17u);
    EXPECT_NE(::SendMessageW(children[5], STM_GETICON, 0, 0), 0) << "the open book";
    EXPECT_EQ(::GetWindowLongW(children[4], GWL_STYLE) & SS_TYPEMASK, SS_CENTER);
    for (int i : {0, 6, 9})
        EXPECT_EQ(::GetWindowLongW(children[i], GWL_STYLE) & (BS_TYPEMASK | BS_CENTER), BS_GROUPBOX | BS_CENTER) << i;
}

TEST_F(DialogTemplates, ImportHoldsThePathTheRulesTheButtonsTheBarAndTheCounts) {
    ::InitCommonControls();
    ASSERT_NE(create(IDD_IMPORT), nullptr);
    expectFrame(L"Добавление предложений из файла", 192, 133, L"Times New Roman");
    expectControls({{L"Edit", IDC_IMPORT_PATH, L"", {5, 5, 182, 12}},
                    {L"Button", IDC_STATIC, L" Требуемые предложения ", {5, 20, 124, 60}},
                    {L"Static", IDC_STATIC, L"Язык:", {10, 30, 20, 8}},
                    {L"Static", IDC_IMPORT_LANGUAGE, L"English", {32, 30, 29, 8}},
                    {L"Static", IDC_STATIC, L"Длина предложений (в символах):", {10, 40, 116, 8}},
                    {L"Static", IDC_STATIC, L"min =", {17, 48, 19, 8}},
                    {L"Static", IDC_IMPORT_MIN_LENGTH, L"0", {37, 48, 13, 8}},
                    {L"Static", IDC_STATIC, L"max =", {52, 48, 21, 8}},
                    {L"Static", IDC_IMPORT_MAX_LENGTH, L"0", {74, 48, 12, 8}},
                    {L"Static", IDC_STATIC, L"Максимальное количество\nидущих подряд заглавых букв:", {10, 58, 100, 17}},
                    {L"Edit", IDC_IMPORT_CAPITAL_RUN, L"", {110, 62, 13, 10}},
                    {L"Static", IDC_STATIC, picture(IDI_OPEN_BOOK), {152, 60, 20, 20}},
                    {L"Button", IDC_IMPORT_BROWSE, L"Обзор...", {137, 20, 50, 14}},
                    {L"Button", IDC_IMPORT_ADD, L"Добавить !", {137, 41, 50, 14}},
                    {L"msctls_progress32", IDC_IMPORT_PROGRESS, L"", {5, 85, 182, 6}},
                    {L"Static", IDC_STATIC, L"Найденое количество:", {5, 94, 73, 8}},
                    {L"Static", IDC_IMPORT_FOUND, L"0", {81, 94, 27, 8}},
                    {L"Static", IDC_STATIC, L"Общее число:", {115, 94, 46, 8}},
                    {L"Static", IDC_IMPORT_TOTAL, L"0", {164, 94, 23, 8}},
                    {L"Button", IDCANCEL, L"Я больше не буду", {5, 107, 182, 11}},
                    {L"Static", IDC_IMPORT_ENCODING, L"", {5, 121, 182, 8}}},
                   isIcon);
    expectStyles(dialog_, {{IDC_IMPORT_PATH, ES_READONLY | WS_TABSTOP, ES_READONLY | WS_TABSTOP},
                           {IDC_IMPORT_CAPITAL_RUN, kNumberEdit | ES_READONLY, kNumberEdit},
                           {IDC_IMPORT_LANGUAGE, SS_TYPEMASK, SS_LEFT},
                           {IDC_IMPORT_FOUND, SS_TYPEMASK, SS_LEFT},
                           {IDC_IMPORT_TOTAL, SS_TYPEMASK, SS_LEFT},
                           {IDC_IMPORT_BROWSE, BS_TYPEMASK | WS_DISABLED, BS_PUSHBUTTON},
                           {IDC_IMPORT_ADD, BS_TYPEMASK | WS_DISABLED, BS_PUSHBUTTON | WS_DISABLED},
                           {IDCANCEL, BS_TYPEMASK | WS_DISABLED, BS_DEFPUSHBUTTON}});
    EXPECT_TRUE(bordered(::GetDlgItem(dialog_, IDC_IMPORT_PATH)));
    EXPECT_TRUE(bordered(::GetDlgItem(dialog_, IDC_IMPORT_CAPITAL_RUN)));
    EXPECT_EQ(LOWORD(::SendMessageW(dialog_, DM_GETDEFID, 0, 0)), IDCANCEL);
    PBRANGE range {};
    ::SendDlgItemMessageW(dialog_, IDC_IMPORT_PROGRESS, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 100);
    const HWND group = ::GetWindow(::GetDlgItem(dialog_, IDC_IMPORT_PATH), GW_HWNDNEXT);
    EXPECT_EQ(::GetWindowLongW(group, GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
    const HWND icon = ::GetWindow(::GetDlgItem(dialog_, IDC_IMPORT_CAPITAL_RUN), GW_HWNDNEXT);
    EXPECT_NE(::SendMessageW(icon, STM_GETICON, 0, 0), 0) << "the open book";
}

// The program around the dialog, reduced to what these tests look at.
class QuietSettingsHost : public SettingsHost {
public:
    explicit QuietSettingsHost(LiveOptions& live) : live_(live) {}
    bool isSessionRunning() override { return running; }
    void sendLanguageSwitch() override {
        ++switches;
        live_.options.russian = live_.options.russian ? 0 : 1;
    }
    CorpusFigures corpusFigures() override { return figures; }
    bool reindex(const Options& options) override {
        figures = {static_cast<std::uint32_t>(options.maxLength), 0};
        return true;
    }
    void invalidateMainWindow(bool) override {}
    void checkAlphabetItem() override {}

    bool running = false;
    int switches = 0;
    CorpusFigures figures {400, 9};

private:
    LiveOptions& live_;
};

HWND pageOf(HWND frame) { return ::FindWindowExW(frame, nullptr, L"#32770", nullptr); }

int pageCount(HWND frame) {
    int count = 0;
    for (HWND page = pageOf(frame); page != nullptr; page = ::FindWindowExW(frame, page, L"#32770", nullptr))
        ++count;
    return count;
}

int defaultButton(HWND frame) { return LOWORD(::SendMessageW(frame, DM_GETDEFID, 0, 0)); }

bool applyEnabled(HWND frame) { return ::IsWindowEnabled(::GetDlgItem(frame, IDC_SETTINGS_APPLY)) != FALSE; }

std::wstring tabTitle(HWND tabs, int index) {
    wchar_t text[32] = {};
    TCITEMW item {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 32;
    ::SendMessageW(tabs, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
    return text;
}

// What a click on a tab does: a new selection and its notification.
void selectTab(HWND frame, int index) {
    const HWND tabs = ::GetDlgItem(frame, IDC_SETTINGS_TABS);
    ::SendMessageW(tabs, TCM_SETCURSEL, index, 0);
    NMHDR notice {tabs, static_cast<UINT_PTR>(IDC_SETTINGS_TABS), static_cast<UINT>(TCN_SELCHANGE)};
    ::SendMessageW(frame, WM_NOTIFY, IDC_SETTINGS_TABS, reinterpret_cast<LPARAM>(&notice));
}

class SettingsDialog : public ::testing::Test {
protected:
    void play(std::vector<DialogScript::Step> steps) {
        const std::size_t count = steps.size();
        DialogScript script(std::move(steps));
        dialogs::SettingsRequest request {live_, tab_, host_, {}};
        EXPECT_TRUE(script.play([&](HWND owner) { dialogs::showSettingsDialog(program(), owner, request); }));
        EXPECT_EQ(script.stepsPlayed(), count);
    }

    LiveOptions live_;
    unsigned tab_ = 0;
    QuietSettingsHost host_ {live_};
};

TEST_F(SettingsDialog, OpensOnGeneralWithEnterMeaningCancelAndAPageInTheTabArea) {
    play({
        [](HWND frame) {
            EXPECT_EQ(windowText(frame), L"Настроечки");
            const HWND tabs = ::GetDlgItem(frame, IDC_SETTINGS_TABS);
            ASSERT_EQ(::SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
            EXPECT_EQ(tabTitle(tabs, 0), L"Общие");
            EXPECT_EQ(tabTitle(tabs, 1), L"Текст");
            EXPECT_EQ(::SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);
            EXPECT_EQ(::GetFocus(), tabs);
            EXPECT_FALSE(applyEnabled(frame));
            EXPECT_EQ(defaultButton(frame), IDCANCEL);
            EXPECT_TRUE(drawsRussian(::GetDlgItem(frame, IDCANCEL)));

            const HWND page = pageOf(frame);
            ASSERT_NE(page, nullptr);
            EXPECT_EQ(pageCount(frame), 1);
            EXPECT_TRUE(::IsWindowVisible(page));
            // Below the tab row, inside the border: where the tab control says its display area is.
            RECT area = clientRectOf(tabs);
            ::SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
            const RECT placed = clientRectOf(page);
            EXPECT_EQ(placed.left, area.left);
            EXPECT_EQ(placed.top, area.top);
            EXPECT_GT(placed.top, clientRectOf(tabs).top + 8);
            EXPECT_TRUE(drawsRussian(::GetDlgItem(page, IDC_ALLOW_CAPITALS)));
            EXPECT_EQ(windowText(::GetDlgItem(page, IDC_TIMER_MINUTES)), L"5");
            EXPECT_EQ(windowText(::GetDlgItem(page, IDC_TIMER_SECONDS)), L"0");
            EXPECT_EQ(::SendDlgItemMessageW(page, IDC_TIMER_SECONDS, EM_GETLIMITTEXT, 0, 0), 2);

            ::SetDlgItemTextW(page, IDC_TIMER_SECONDS, L"75");
            EXPECT_TRUE(applyEnabled(frame));
            EXPECT_EQ(defaultButton(frame), IDC_SETTINGS_APPLY);

            selectTab(frame, 1);
            EXPECT_EQ(pageCount(frame), 1) << "one page at a time";
            const HWND text = pageOf(frame);
            ASSERT_NE(::GetDlgItem(text, IDC_MIN_LENGTH), nullptr);
            EXPECT_EQ(windowText(::GetDlgItem(text, IDC_MIN_LENGTH)), L"10");
            EXPECT_EQ(windowText(::GetDlgItem(text, IDC_MAX_LENGTH)), L"120");
            EXPECT_EQ(::SendDlgItemMessageW(text, IDC_MAX_LENGTH, EM_GETLIMITTEXT, 0, 0), 3);
            EXPECT_EQ(windowText(::GetDlgItem(text, IDC_SENTENCE_COUNT)), L"400");
            EXPECT_EQ(windowText(::GetDlgItem(text, IDC_SENTENCE_POSITION)), L"9");
            EXPECT_EQ(::IsDlgButtonChecked(text, IDC_LANGUAGE_RUSSIAN), BST_CHECKED);
            EXPECT_TRUE(applyEnabled(frame)) << "the change on the other page is still pending";
            press(frame, IDC_SETTINGS_APPLY);
        },
        [this](HWND frame) {
            EXPECT_EQ(live_.options.timerSeconds, 375);
            EXPECT_TRUE(live_.optionsDirty);
            EXPECT_FALSE(applyEnabled(frame));
            EXPECT_EQ(defaultButton(frame), IDCANCEL);
            EXPECT_EQ(::GetFocus(), ::GetDlgItem(frame, IDCANCEL));
            press(frame, IDCANCEL);
        },
    });
    EXPECT_EQ(tab_, 1u);
    play({[](HWND frame) {
        EXPECT_EQ(::SendDlgItemMessageW(frame, IDC_SETTINGS_TABS, TCM_GETCURSEL, 0, 0), 1);
        EXPECT_NE(::GetDlgItem(pageOf(frame), IDC_MIN_LENGTH), nullptr) << "reopens on the page shown last";
        EXPECT_EQ(defaultButton(frame), IDCANCEL);
        press(frame, IDCANCEL);
    }});
}

TEST_F(SettingsDialog, DuringASessionTheOtherLanguageIsRefusedWithTheMessage) {
    host_.running = true;
    tab_ = 1;
    play({
        [](HWND frame) {
            ::PostMessageW(::GetDlgItem(pageOf(frame), IDC_LANGUAGE_ENGLISH), BM_CLICK, 0, 0);
        },
        [](HWND box) {
            EXPECT_EQ(windowText(box), L"Облом");
            EXPECT_EQ(windowText(::GetDlgItem(box, 0xFFFF)), L"Сначала закончи текущую игру,\nа уже потом меняй язык.");
            press(box, IDOK);
        },
        [](HWND frame) {
            const HWND page = pageOf(frame);
            EXPECT_EQ(::IsDlgButtonChecked(page, IDC_LANGUAGE_RUSSIAN), BST_CHECKED);
            EXPECT_EQ(::IsDlgButtonChecked(page, IDC_LANGUAGE_ENGLISH), BST_UNCHECKED);
            EXPECT_FALSE(applyEnabled(frame));
            EXPECT_EQ(defaultButton(frame), IDCANCEL);
            EXPECT_EQ(::GetFocus(), ::GetDlgItem(frame, IDCANCEL));
            press(frame, IDOK);
        },
    });
    EXPECT_EQ(host_.switches, 0);
    EXPECT_EQ(live_.options.russian, 1);
    EXPECT_FALSE(live_.optionsDirty);
}

}  // namespace
}  // namespace dactyla::testing

#endif  // _WIN32
