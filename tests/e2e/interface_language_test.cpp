// The interface language: "English interface" in "Опции" switches every text while idle, is
// refused during a session, is remembered per user in Interface.txt, and every window speaks
// English once it is chosen. Screenshots of each English window land in artifacts/.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <vector>

#include "driver/expect.h"
#include "driver/menu.h"
#include "driver/program.h"
#include "driver/screen.h"
#include "driver/settings.h"
#include "driver/typing.h"

namespace dactyla::e2e {
namespace {

using namespace std::chrono_literals;

constexpr unsigned kInterfaceLanguage = IDM_INTERFACE_LANGUAGE;

::testing::AssertionResult barShows(const RunningProgram& program, const std::wstring& text) {
    program.settle();
    if (waitUntil([&] { return findInMenuBar(program.window(), text).has_value(); }, 3s))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the menu bar does not show \"" << narrowUtf8(text) << "\"";
}

std::string interfaceFile(const ProgramDirectory& directory, const std::string& user) {
    return readBytes(directory.userDirectory(user) + "/Interface.txt").value_or("(none)");
}

// Anna, typing English, who chose the English interface.
void addEnglishSpeakingLearner(ProgramDirectory& directory) {
    directory.addUser("Anna", storedOptionsBytes(quietOptions(false)));
    writeBytes(directory.userDirectory("Anna") + "/Interface.txt", "en\r\n");
}

TEST(InterfaceLanguage, SwitchesWhileIdleIsRefusedDuringASessionAndStaysWithTheUser) {
    ProgramDirectory directory;
    directory.addUser("Anna", storedOptionsBytes(quietOptions(true)));
    const std::string optionsBefore = readBytes(directory.userDirectory("Anna") + "/Options.dat").value_or("");
    {
        RunningProgram program(directory);
        ASSERT_TRUE(program.waitForMainWindow());
        EXPECT_TRUE(barShows(program, wide("Опции")));
        EXPECT_TRUE(barShows(program, wide("<  ПУСК  >")));
        program.postCommand(kInterfaceLanguage);
        EXPECT_TRUE(barShows(program, L"Options"));
        EXPECT_TRUE(barShows(program, L"Learners"));
        EXPECT_TRUE(barShows(program, L"< START >")) << "English words, whatever language is typed";
        EXPECT_EQ(interfaceFile(directory, "Anna"), "en\r\n");
        saveScreenshot("english-main-window");

        // During a session the switch is refused with the "No" sound: nothing changes.
        program.typeCharacter(13);
        EXPECT_TRUE(barShows(program, L"<  STOP  >"));
        program.postCommand(kInterfaceLanguage);
        EXPECT_TRUE(barShows(program, L"Options"));
        EXPECT_EQ(interfaceFile(directory, "Anna"), "en\r\n");
        program.postCharacter(27);
        const SummaryBox summary = waitForSummary(program);
        ASSERT_NE(summary.box, nullptr);
        saveScreenshot("english-summary");
        EXPECT_TRUE(program.answer(summary.box, IDYES));
        program.pressKey(VK_F4);
        ASSERT_TRUE(program.waitForExit());
    }
    EXPECT_EQ(readBytes(directory.userDirectory("Anna") + "/Options.dat").value_or("").substr(8),
              optionsBefore.substr(8))
        << "the options file keeps its options; only the totals grew";
    {
        RunningProgram program(directory);
        ASSERT_TRUE(program.waitForMainWindow());
        EXPECT_TRUE(barShows(program, L"Options")) << "remembered for Anna";
        program.postCommand(kInterfaceLanguage);
        EXPECT_TRUE(barShows(program, wide("Опции")));
        EXPECT_TRUE(barShows(program, wide("<  ПУСК  >")));
        EXPECT_EQ(interfaceFile(directory, "Anna"), "ru\r\n");
    }
}

// Each learner keeps their own interface: switching users switches the menus and the Start
// item, and after a restart each still has theirs.
TEST(InterfaceLanguage, FollowsTheUserSwitchAndStaysWithEachUserAcrossARestart) {
    ProgramDirectory directory;
    addEnglishSpeakingLearner(directory);                                  // user 1
    directory.addUser("Boris", storedOptionsBytes(quietOptions(true)));  // user 2, Russian
    struct Learner {
        unsigned number;
        std::wstring options;
        std::wstring start;
        std::wstring otherOptions;
    };
    const std::vector<Learner> switches = {{1, L"Options", L"< START >", wide("Опции")},
                                           {2, wide("Опции"), wide("<  ПУСК  >"), L"Options"},
                                           {1, L"Options", L"< START >", wide("Опции")}};
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run == 1 ? "first start" : "after a restart");
        RunningProgram program(directory);
        ASSERT_TRUE(program.waitForMainWindow());
        for (const Learner& learner : switches) {
            SCOPED_TRACE(learner.number);
            program.postCommand(command::kUserBase + learner.number);
            EXPECT_TRUE(barShows(program, learner.options));
            EXPECT_TRUE(barShows(program, learner.start));
            EXPECT_FALSE(findInMenuBar(program.window(), learner.otherOptions).has_value());
        }
        if (run == 1) saveScreenshot("english-after-user-switch");
        program.pressKey(VK_F4);
        ASSERT_TRUE(program.waitForExit());
    }
    EXPECT_EQ(interfaceFile(directory, "Anna"), "en\r\n");
    EXPECT_EQ(interfaceFile(directory, "Boris"), "(none)") << "Russian needs no choice";
}

// Every window and dialog in English, for a person to look at in artifacts/.
TEST(InterfaceLanguage, EveryWindowSpeaksEnglish) {
    ProgramDirectory directory;
    addEnglishSpeakingLearner(directory);
    RunningProgram program(directory);
    ASSERT_TRUE(program.waitForMainWindow());

    program.postCommand(command::kHelp);
    const HWND help = program.waitForWindow(kDialogClass, L"Help");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(windowText(::GetDlgItem(help, IDOK)), L"Got it");
    saveScreenshot("english-help-main");
    for (const auto& [page, title] : {std::pair {40009u, L"SETTINGS"}, std::pair {40035u, L"\"HOT\" KEYS"},
                                      std::pair {40036u, L"ODDS AND ENDS"}}) {
        ::SendMessageW(help, WM_COMMAND, page, 0);
        EXPECT_NE(windowText(::GetDlgItem(help, control::kHelpText)).find(title), std::wstring::npos);
        saveScreenshot("english-help-" + std::to_string(page));
    }
    EXPECT_TRUE(program.answer(help, IDOK));

    program.postCommand(command::kAbout);
    const HWND about = program.waitForWindow(kDialogClass, L"!!! Ooh-ooh-ooh, it's Dactyla-a-aaa !!!");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(windowText(::GetDlgItem(about, IDOK)), L"PRESS ME !");
    saveScreenshot("english-about");
    EXPECT_TRUE(program.answer(about, IDOK));

    program.postCommand(command::kNewUser);
    const HWND newUser = program.waitForWindow(kDialogClass, L"A Question Of Time");
    ASSERT_NE(newUser, nullptr);
    EXPECT_EQ(windowText(::GetDlgItem(newUser, IDCANCEL)), L"Cancel");
    saveScreenshot("english-new-user-dialog");
    EXPECT_TRUE(program.answer(newUser, IDCANCEL));

    program.postCommand(command::kSettings);
    const HWND frame = program.waitForWindow(kDialogClass, L"Tweaks");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(windowText(frame), L"Tweaks");
    EXPECT_EQ(windowText(::GetDlgItem(frame, IDOK)), L"O'Kay");
    EXPECT_EQ(controlText(settingsPage(frame), 1084), L"Background tune");
    saveScreenshot("english-settings-general");
    ASSERT_TRUE(selectSettingsTab(frame, 1));
    EXPECT_EQ(controlText(settingsPage(frame), settings::kRussian), L"Russian");
    saveScreenshot("english-settings-text");
    postClick(settingsPage(frame), settings::kImport);
    const HWND import = program.waitForWindow(kDialogClass, L"Adding sentences from a file");
    ASSERT_NE(import, nullptr);
    saveScreenshot("english-import");
    EXPECT_TRUE(program.answer(import, IDCANCEL));
    EXPECT_TRUE(closeSettings(program, frame, IDCANCEL));

    // No results yet: the progress box says so, and the chart draws its English hint.
    program.postCommand(command::kProgress);
    const HWND box = program.waitForWindow(kDialogClass, L"That's not how it's done");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(messageBoxText(box).find(L"Easy, tiger"), std::wstring::npos);
    saveScreenshot("english-progress-box");
    EXPECT_TRUE(program.answer(box, IDOK));
    program.postCommand(40032);
    const HWND chart = program.waitForWindow(L"DactylaProgressChart", L"Chart");
    ASSERT_NE(chart, nullptr);
    ::Sleep(300);
    saveScreenshot("english-chart");
    ::PostMessageW(chart, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return !::IsWindow(chart); }, 5s));
}

// The course window and every box it asks or warns with, in English, for a person to look at;
// then the weak-spots box.
TEST(InterfaceLanguage, TheCourseWindowItsBoxesAndTheWeakSpotsBoxSpeakEnglish) {
    ProgramDirectory directory;
    addEnglishSpeakingLearner(directory);
    RunningProgram program(directory);
    ASSERT_TRUE(program.waitForMainWindow());
    program.postCommand(IDM_COURSE_WINDOW);
    const HWND course = program.waitForWindow(L"DactylaCourse", L"Course");
    ASSERT_NE(course, nullptr);
    EXPECT_EQ(windowText(::GetDlgItem(course, IDCANCEL)), L"Close");
    saveScreenshot("english-course-window");

    struct CourseBox {
        const char* screenshot;
        std::function<void()> open;
        const wchar_t* says;
        int closeButton;
    };
    const std::vector<CourseBox> boxes = {
        {"english-course-start-over", [&] { postClick(course, 104); }, L"Start the course over", IDNO},
        {"english-course-bad-targets",
         [&] {
             setControlText(course, 101, L"9999");
             postClick(course, 103);
         },
         L"from 30 to 750", IDOK},
        // The 21st key of the order, locked in a fresh course.
        {"english-course-skip-question",
         [&] { ::PostMessageW(course, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(16 + 20 * 26 + 10, 60 + 10)); },
         L"Open every key up to", IDNO},
    };
    for (const CourseBox& row : boxes) {
        SCOPED_TRACE(row.screenshot);
        row.open();
        const HWND box = program.waitForWindow(kDialogClass, L"Course");
        ASSERT_NE(box, nullptr);
        EXPECT_NE(messageBoxText(box).find(row.says), std::wstring::npos) << narrowUtf8(messageBoxText(box));
        saveScreenshot(row.screenshot);
        EXPECT_TRUE(program.answer(box, row.closeButton));
    }
    EXPECT_TRUE(program.answer(course, IDCANCEL));

    program.postCommand(IDM_WEAK_KEYS);
    ASSERT_TRUE(program.settle());
    program.postCharacter(13);
    const HWND tooFew = program.waitForWindow(kDialogClass, L"Weak spots");
    ASSERT_NE(tooFew, nullptr);
    EXPECT_NE(messageBoxText(tooFew).find(L"No weak spots to see yet"), std::wstring::npos);
    saveScreenshot("english-weak-spots-too-few");
    EXPECT_TRUE(program.answer(tooFew, IDOK));
}

// The keyboard names the finger of a key typed wrong, and the chart shows the session, in English.
TEST(InterfaceLanguage, TheKeyboardAndTheChartOfASessionSpeakEnglish) {
    ProgramDirectory directory;
    addEnglishSpeakingLearner(directory);
    showKeyboardAlways(directory, "Anna");
    RunningProgram program(directory);
    ASSERT_TRUE(program.waitForMainWindow());
    const StripReader reader(program.window());
    program.typeCharacter(13);
    ASSERT_EQ(typeShownText(program, reader, englishCharacters(), 20).size(), 20u);
    // A capital names two fingers, the longest line the keyboard shows: wait for one.
    for (int typed = 0; typed < 200; ++typed) {
        const std::wstring next = reader.readToType(englishCharacters());
        if (!next.empty() && ::IsCharUpperW(next.front())) break;
        ASSERT_EQ(typeShownText(program, reader, englishCharacters(), 1).size(), 1u);
    }
    program.typeCharacter(L'#');
    saveScreenshot("english-keyboard-finger-line");
    program.postCharacter(27);
    const SummaryBox summary = waitForSummary(program);
    ASSERT_NE(summary.box, nullptr);
    EXPECT_TRUE(program.answer(summary.box, IDYES));

    // Sessions shorter than two minutes stay out of the log: a few longer ones, newest first.
    std::string log;
    for (int day = 9; day >= 5; --day) {
        char line[64];
        std::snprintf(line, sizeof line, " %.2d.12.2026%7d%7.1f%%%5d:%.2d\r\n", day, 150 + day * 7, 9.5 - day * 0.6, 3, day * 5);
        log += line;
    }
    ASSERT_TRUE(writeBytes(directory.userDirectory("Anna") + "/Results - Eng.txt", log));
    program.postCommand(IDM_CHART);
    const HWND chart = program.waitForWindow(L"DactylaProgressChart", L"Chart");
    ASSERT_NE(chart, nullptr);
    ::Sleep(300);
    saveScreenshot("english-chart-by-mistakes");
    ::PostMessageW(chart, WM_KEYDOWN, VK_TAB, 0);
    ::Sleep(300);
    saveScreenshot("english-chart-by-mastery");
    ::PostMessageW(chart, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return !::IsWindow(chart); }, 5s));
}

}  // namespace
}  // namespace dactyla::e2e
