// The menu as it is shown: the Start/Stop item by session and language, the users with their
// radio mark and the switch between them, the alphabet mark, and the commands' rules.
#include <gtest/gtest.h>

#include "driver/expect.h"
#include "driver/menu.h"
#include "driver/program.h"
#include "driver/screen.h"
#include "driver/typing.h"

namespace dactyla::e2e {
namespace {

using namespace std::chrono_literals;

const std::wstring kStartRussian = wide("<  ПУСК  >");
const std::wstring kStopRussian = wide("<  СТОП  >");
const std::wstring kStartEnglish = L"< START >";
const std::wstring kStopEnglish = L"<  STOP  >";

StoredOptions userOptions(bool russian) {
    StoredOptions options;
    options.russian = russian;
    options.backgroundSound = false;
    return options;
}

::testing::AssertionResult barShows(const RunningProgram& program, const std::wstring& text) {
    program.settle();
    if (waitUntil([&] { return findInMenuBar(program.window(), text).has_value(); }, 2s))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the menu bar does not show \"" << narrowUtf8(text) << "\"";
}

// The user whose name the window's label shows, among the given ones.
std::string labelledUser(const RunningProgram& program, const std::vector<std::string>& names) {
    const HFONT small = createSmallFont(::GetSystemMetrics(SM_CXSCREEN));
    const Image client = captureClient(program.window());
    std::string found;
    for (const std::string& name : names) {
        const Image label = renderText(wide(name), small, RGB(172, 172, 0), RGB(93, 103, 93));
        const int top = client.height - 2 - label.height;
        bool same = true;
        for (int y = 0; same && y < label.height; ++y)
            for (int x = 0; same && x < label.width; ++x) same = client.at(5 + x, top + y) == label.at(x, y);
        if (same) found = name;
    }
    ::DeleteObject(small);
    return found;
}

class MenuTest : public ::testing::Test {
protected:
    void start() {
        program_ = std::make_unique<RunningProgram>(directory_);
        ASSERT_TRUE(program_->waitForMainWindow());
    }

    ProgramDirectory directory_;
    std::unique_ptr<RunningProgram> program_;
};

TEST_F(MenuTest, StartStopItemFollowsTheSessionAndTheLanguage) {
    directory_.addUser("Anna", storedOptionsBytes(userOptions(true)));
    start();
    EXPECT_TRUE(barShows(*program_, kStartRussian));
    program_->typeCharacter(13);
    EXPECT_TRUE(barShows(*program_, kStopRussian));
    saveScreenshot("menu-stop");
    program_->pressKey(VK_F1);  // no language switch during a session
    EXPECT_TRUE(barShows(*program_, kStopRussian));
    ASSERT_TRUE(endSessionWithYes(*program_));
    EXPECT_TRUE(barShows(*program_, kStartRussian));

    program_->pressKey(VK_F1);
    EXPECT_TRUE(barShows(*program_, kStartEnglish));
    program_->postCommand(command::kStartStop);
    EXPECT_TRUE(barShows(*program_, kStopEnglish));
    ASSERT_TRUE(endSessionWithYes(*program_));
    EXPECT_TRUE(barShows(*program_, kStartEnglish));

    program_->pressKey(VK_F4);
    ASSERT_TRUE(program_->waitForExit());
    const StoredOptions stored = parseStoredOptions(readBytes(directory_.userDirectory("Anna") + "/Options.dat").value_or(""));
    EXPECT_FALSE(stored.russian) << "the changed language is kept for the user";
}

// Wine keeps no archive mark on directories, so which user was current last cannot survive a
// restart here; what the switch shows and writes is checked instead.
TEST_F(MenuTest, UsersStandBetweenTheSeparatorsAndSwitchingMovesTheRadioMark) {
    directory_.addUser("Anna", storedOptionsBytes(userOptions(true)));
    directory_.addUser("Boris", storedOptionsBytes(userOptions(false)));
    start();
    const std::string first = labelledUser(*program_, {"Anna", "Boris"});
    ASSERT_FALSE(first.empty()) << "the label shows the current user";
    const std::string other = first == "Anna" ? "Boris" : "Anna";

    int otherNumber = 0;
    {
        OpenPopup users(*program_, wide("Ученики"));
        ASSERT_TRUE(users.isOpen());
        saveScreenshot("menu-users");
        const auto progress = users.find(wide("Прогресс..."));
        const auto anna = users.find(L"Anna");
        const auto boris = users.find(L"Boris");
        const auto newUser = users.find(wide("Новый..."));
        ASSERT_TRUE(progress && anna && boris && newUser);
        EXPECT_LT(progress->where.y, std::min(anna->where.y, boris->where.y));
        EXPECT_GT(newUser->where.y, std::max(anna->where.y, boris->where.y));
        EXPECT_EQ(anna->checked, first == "Anna");
        EXPECT_EQ(boris->checked, first == "Boris");
        EXPECT_FALSE(progress->checked);
        // Users are numbered in the order the menu lists them.
        otherNumber = (other == "Anna") == (anna->where.y < boris->where.y) ? 1 : 2;
    }

    // A user item during a session is ignored.
    program_->typeCharacter(13);
    program_->postCommand(command::kUserBase + otherNumber);
    program_->settle();
    EXPECT_EQ(labelledUser(*program_, {"Anna", "Boris"}), first);
    ASSERT_TRUE(endSessionWithYes(*program_));

    program_->postCommand(command::kUserBase + otherNumber);
    // A posted command may be handled after the settling message: wait for the label.
    EXPECT_TRUE(waitUntil([&] { return labelledUser(*program_, {"Anna", "Boris"}) == other; }, 3s)) << other;
    EXPECT_TRUE(barShows(*program_, other == "Boris" ? kStartEnglish : kStartRussian));
    {
        OpenPopup users(*program_, wide("Ученики"));
        ASSERT_TRUE(users.isOpen());
        const auto mine = users.find(wide(other));
        const auto theirs = users.find(wide(first));
        ASSERT_TRUE(mine && theirs);
        EXPECT_TRUE(mine->checked);
        EXPECT_FALSE(theirs->checked);
    }
    program_->pressKey(VK_F4);
    ASSERT_TRUE(program_->waitForExit());
    // Each kept their own language.
    EXPECT_TRUE(parseStoredOptions(readBytes(directory_.userDirectory("Anna") + "/Options.dat").value_or("")).russian);
    EXPECT_FALSE(parseStoredOptions(readBytes(directory_.userDirectory("Boris") + "/Options.dat").value_or("")).russian);
}

TEST_F(MenuTest, AlphabetItemIsCheckedByTheCommandButNotDuringASession) {
    directory_.addUser("Anna", storedOptionsBytes(userOptions(false)));
    start();
    {
        OpenPopup options(*program_, wide("Опции"));
        ASSERT_TRUE(options.isOpen());
        const auto alphabet = options.find(wide("Алфавит"));
        ASSERT_TRUE(alphabet);
        EXPECT_FALSE(alphabet->checked);
        EXPECT_TRUE(options.find(wide("Поменять язык   F1")));
    }
    program_->postCommand(command::kAlphabet);
    program_->settle();
    {
        OpenPopup options(*program_, wide("Опции"));
        ASSERT_TRUE(options.isOpen());
        saveScreenshot("menu-alphabet");
        const auto alphabet = options.find(wide("Алфавит"));
        ASSERT_TRUE(alphabet);
        EXPECT_TRUE(alphabet->checked);
    }
    program_->typeCharacter(13);
    program_->postCommand(command::kAlphabet);
    program_->settle();
    ASSERT_TRUE(endSessionWithYes(*program_));
    {
        OpenPopup options(*program_, wide("Опции"));
        const auto alphabet = options.find(wide("Алфавит"));
        ASSERT_TRUE(alphabet);
        EXPECT_TRUE(alphabet->checked) << "refused during the session";
    }
    program_->pressKey(VK_F4);
    ASSERT_TRUE(program_->waitForExit());
    EXPECT_TRUE(parseStoredOptions(readBytes(directory_.userDirectory("Anna") + "/Options.dat").value_or("")).alphabetMode);
}

TEST_F(MenuTest, NewUserDuringASessionIsRefusedAndTheSessionGoesOn) {
    directory_.addUser("Anna", storedOptionsBytes(userOptions(false)));
    start();
    const StripReader reader(program_->window());
    program_->typeCharacter(13);
    program_->postCommand(command::kNewUser);
    const HWND box = program_->waitForWindow(kDialogClass, wide("Так дела не делаются"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(messageBoxText(box), wide("Сначала завершите текущий сеанс!"));
    ASSERT_TRUE(program_->answer(box, IDOK));
    // The box took the focus, which paused the session; a key resumes it.
    EXPECT_EQ(reader.readToType(pauseCharacters()), pauseTextToType());
    program_->typeCharacter(L' ');
    EXPECT_EQ(typeShownText(*program_, reader, englishCharacters(), 10).size(), 10u);
    EXPECT_TRUE(barShows(*program_, kStopEnglish));
    ASSERT_TRUE(endSessionWithYes(*program_));
    EXPECT_FALSE(exists(directory_.userDirectory("New Typist")));
}

TEST_F(MenuTest, AboutShowsTheTotalsWithTheSessionInProgress) {
    StoredOptions options = userOptions(false);
    options.totalCharacters = 500;
    options.totalSeconds = 25 * 3600 + 61;
    directory_.addUser("Anna", storedOptionsBytes(options));
    start();
    const std::wstring aboutTitle = wide("!!! Ооо-о-о программе Dactyla-a-aaa !!!");
    program_->postCommand(command::kAbout);
    HWND about = program_->waitForWindow(kDialogClass, aboutTitle);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(windowText(::GetDlgItem(about, control::kAboutTotals)), wide("500 символов\n за 25:01:01"));
    ASSERT_TRUE(program_->answer(about, IDOK));

    const StripReader reader(program_->window());
    program_->typeCharacter(13);
    ASSERT_EQ(typeShownText(*program_, reader, englishCharacters(), 20).size(), 20u);
    program_->postCommand(command::kAbout);
    about = program_->waitForWindow(kDialogClass, aboutTitle);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(windowText(::GetDlgItem(about, control::kAboutTotals)).rfind(wide("520 символов\n за 25:01:0"), 0), 0u);
    ASSERT_TRUE(program_->answer(about, IDOK));
    // The dialog paused the session, and it stays paused until a key is typed.
    EXPECT_EQ(reader.readToType(pauseCharacters()), pauseTextToType());
}

TEST_F(MenuTest, HelpOpensOnItsFirstPage) {
    directory_.addUser("Anna", storedOptionsBytes(userOptions(true)));
    start();
    program_->postCommand(command::kHelp);
    const HWND help = program_->waitForWindow(kDialogClass, wide("Помощь"));
    ASSERT_NE(help, nullptr);
    EXPECT_NE(windowText(::GetDlgItem(help, control::kHelpText)).find(wide("САМОЕ ГЛАВНОЕ")), std::wstring::npos);
    ASSERT_TRUE(program_->answer(help, IDOK));
}

TEST_F(MenuTest, ProgressViewerShowsTheLogOfTheLanguageInTheEditor) {
    directory_.addUser("Anna", storedOptionsBytes(userOptions(true)));
    start();
    program_->postCommand(command::kProgress);
    const HWND box = program_->waitForWindow(kDialogClass, wide("Так дела не делаются"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(messageBoxText(box), wide("Умерьте свой пыл. Прогресса пока нет.\n\nP.S. Результаты учитываются, только "
                                        "если\nВы набирали текст не менее 2-х минут."));
    ASSERT_TRUE(program_->answer(box, IDOK));

    // A stand-in editor beside the program is found first and records how it was started.
    const std::string log = directory_.userDirectory("Anna") + "/Results - Rus.txt";
    writeBytes(log, " 06.12.2026    215    1.5%    5:07\r\n");
    wchar_t driver[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, driver, MAX_PATH);
    ASSERT_TRUE(::CopyFileW(driver, windowsPath(directory_.file("notepad.exe")).c_str(), FALSE));
    program_->postCommand(command::kProgress);
    const std::string recordPath = directory_.userDirectory("Anna") + "/editor-start.txt";
    std::optional<std::string> record;
    ASSERT_TRUE(waitUntil([&] { return (record = readBytes(recordPath)).has_value() && record->find("height=") != std::string::npos; }, 15s));
    const std::wstring recorded = wide(*record);
    EXPECT_NE(recorded.find(L"command=notepad.exe \"" + windowsPath(log) + L"\"\n"), std::wstring::npos) << *record;
    EXPECT_NE(recorded.find(L"directory=" + windowsPath(directory_.userDirectory("Anna")) + L"\n"), std::wstring::npos)
        << *record;
    EXPECT_NE(recorded.find(L"flags=" + std::to_wstring(STARTF_USEPOSITION | STARTF_USESIZE) + L"\n"), std::wstring::npos);
    EXPECT_NE(recorded.find(L"x=0\ny=0\n"), std::wstring::npos);
    const HDC dc = ::GetDC(nullptr);
    const HGDIOBJ previous = ::SelectObject(dc, ::GetStockObject(SYSTEM_FIXED_FONT));
    TEXTMETRICW metrics {};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, previous);
    ::ReleaseDC(nullptr, dc);
    const int frame = ::GetSystemMetrics(SM_CXEDGE) + 3 * ::GetSystemMetrics(SM_CXFRAME) +
                      ::GetSystemMetrics(SM_CXBORDER) + ::GetSystemMetrics(SM_CXDLGFRAME) +
                      ::GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_NE(recorded.find(L"width=" + std::to_wstring(40 * metrics.tmAveCharWidth + frame) + L"\n"), std::wstring::npos)
        << *record;
    EXPECT_NE(recorded.find(L"height=" + std::to_wstring(::GetSystemMetrics(SM_CYSCREEN) - 27) + L"\n"),
              std::wstring::npos)
        << *record;

    // Without it, the system's editor shows the log (Wine's sizes its window itself).
    // The recording editor may still be closing, which keeps its file busy for a moment.
    ASSERT_TRUE(waitUntil([&] { return ::DeleteFileW(windowsPath(directory_.file("notepad.exe")).c_str()) != 0; }, 10s));
    program_->postCommand(command::kProgress);
    HWND editor = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (editor = ::FindWindowW(L"Notepad", nullptr)) != nullptr && ::IsWindowVisible(editor); }, 15s));
    EXPECT_NE(windowText(editor).find(L"Results - Rus.txt"), std::wstring::npos) << narrowUtf8(windowText(editor));
    saveScreenshot("progress");
    ::PostMessageW(editor, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitUntil([] { return ::FindWindowW(L"Notepad", nullptr) == nullptr; }, 10s));
}

}  // namespace
}  // namespace dactyla::e2e
