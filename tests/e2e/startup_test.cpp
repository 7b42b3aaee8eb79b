// Start-up: the first start without users, the window's place, layout and colours, and a
// second start that only brings the first window forward.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "driver/expect.h"
#include "driver/program.h"
#include "driver/screen.h"

namespace dactyla::e2e {
namespace {

using namespace std::chrono_literals;

// On a Russian Windows the first dialog speaks Russian, as the program always does.
TEST(FirstStart, NewUserThenHelpThenTheMainWindow) {
    ProgramDirectory directory;
    RunningProgram program(directory, "ru_RU.UTF-8");
    const HWND newUser = program.adoptWindow(kDialogClass, L"A Question Of Time");
    ASSERT_NE(newUser, nullptr);
    EXPECT_EQ(windowText(::GetDlgItem(newUser, IDCANCEL)), wide("Выход"));
    EXPECT_EQ(windowText(::GetDlgItem(newUser, control::kNewUserName)), L"New Typist");
    const HWND hidden = ::FindWindowW(kMainClass, nullptr);
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(::IsWindowVisible(hidden)) << "the main window waits for a user";
    saveScreenshot("new-user");

    pressButton(newUser, IDOK);
    const HWND help = program.waitForWindow(kDialogClass, wide("Помощь"));
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(exists(directory.userDirectory("New Typist")));
    EXPECT_TRUE(exists(directory.userDirectory("New Typist") + "/Options.dat"));
    pressButton(help, IDOK);

    ASSERT_TRUE(program.waitForMainWindow());
    EXPECT_TRUE(program.noWindowOfClass(kDialogClass));
    EXPECT_FALSE(exists(directory.userDirectory("New Typist") + "/Interface.txt")) << "Russian needs no choice";
    program.pressKey(VK_F4);
    EXPECT_TRUE(program.waitForExit());
}

// Before anybody has chosen, the first dialog follows the language of Windows; the user it makes
// keeps that language, so the help that greets them and the main window speak it too.
TEST(FirstStart, OnAnEnglishWindowsTheFirstUserIsGreetedInEnglish) {
    ProgramDirectory directory;
    RunningProgram program(directory);  // the driver's English Windows
    const HWND newUser = program.waitForWindow(kDialogClass, L"A Question Of Time");
    ASSERT_NE(newUser, nullptr);
    EXPECT_EQ(windowText(::GetDlgItem(newUser, IDCANCEL)), L"Quit");
    EXPECT_EQ(windowText(::GetDlgItem(newUser, IDOK)), L"That's me !");
    saveScreenshot("english-new-user");
    pressButton(newUser, IDOK);
    const HWND help = program.waitForWindow(kDialogClass, L"Help");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(windowText(::GetDlgItem(help, IDOK)), L"Got it");
    EXPECT_NE(windowText(::GetDlgItem(help, control::kHelpText)).find(L"THE MAIN THING"), std::wstring::npos);
    saveScreenshot("english-help");
    EXPECT_EQ(readBytes(directory.userDirectory("New Typist") + "/Interface.txt").value_or(""), "en\r\n");
    pressButton(help, IDOK);
    ASSERT_TRUE(program.waitForMainWindow());
    saveScreenshot("english-idle");
    program.pressKey(VK_F4);
    EXPECT_TRUE(program.waitForExit());
}

TEST(FirstStart, LeavingTheNewUserDialogEndsTheProgram) {
    ProgramDirectory directory;
    RunningProgram program(directory, "ru_RU.UTF-8");
    const HWND newUser = program.adoptWindow(kDialogClass, L"A Question Of Time");
    ASSERT_NE(newUser, nullptr);
    pressButton(newUser, IDCANCEL);
    ASSERT_TRUE(program.waitForExit());
    EXPECT_EQ(::FindWindowW(kMainClass, nullptr), nullptr);
    EXPECT_TRUE(exists(directory.file("Users")));
    EXPECT_FALSE(exists(directory.userDirectory("New Typist")));
}

class IdleWindow : public ::testing::Test {
protected:
    void SetUp() override {
        directory_.addUser("Anna", storedOptionsBytes(StoredOptions {}));
        program_ = std::make_unique<RunningProgram>(directory_);
        ASSERT_TRUE(program_->waitForMainWindow());
    }

    ProgramDirectory directory_;
    std::unique_ptr<RunningProgram> program_;
};

TEST_F(IdleWindow, TakesItsShareOfTheScreenWithTheStripCentred) {
    ASSERT_EQ(::GetSystemMetrics(SM_CXSCREEN), 800) << "scripts/e2e.sh runs this on an 800 x 600 display";
    const HWND window = program_->window();
    const RECT rect = windowRect(window);
    EXPECT_EQ(rect.left, 25);
    EXPECT_EQ(rect.top, 150);
    EXPECT_EQ(rect.right - rect.left, 750);
    EXPECT_EQ(rect.bottom - rect.top, 300);
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_EQ(windowText(window), L"Dactyla");

    saveScreenshot("idle");
    const Image client = captureClient(window);
    const StripReader reader(window);
    const RECT typed = reader.typedRect();
    const RECT toType = reader.toTypeRect();
    EXPECT_EQ(typed.right, client.width / 2);
    EXPECT_EQ(toType.left, client.width / 2);

    // The strip's two boxes, measured on the screen: 40 pixels high at 800 x 600, centred.
    const int column = typed.right - 3;
    int top = 0;
    while (top < client.height && client.at(column, top) != RGB(230, 230, 230)) ++top;
    int bottom = top;
    while (bottom < client.height && client.at(column, bottom) == RGB(230, 230, 230)) ++bottom;
    EXPECT_EQ(bottom - top, 40);
    EXPECT_EQ(top, typed.top);
    EXPECT_LE(std::abs((client.height - bottom) - top), 1);
    EXPECT_EQ(client.at(toType.left + 3, toType.top + 3), RGB(255, 255, 255));
    EXPECT_EQ(client.at(toType.right - 3, toType.bottom - 3), RGB(255, 255, 255));
    EXPECT_EQ(client.at(typed.left + 3, typed.bottom - 3), RGB(230, 230, 230));
    EXPECT_EQ(reader.readToType(L" "), std::wstring(15, L' '));

    // The frame bar around it: 5 % of the strip's top offset above and below, 25 % of its left
    // offset at the sides.
    const COLORREF frame = RGB(33, 144, 133);
    const int barTop = static_cast<int>(typed.top * 0.95);
    const int barLeft = static_cast<int>(typed.left * 0.75);
    EXPECT_EQ(client.at(client.width / 2, barTop), frame);
    EXPECT_NE(client.at(client.width / 2, barTop - 1), frame);
    EXPECT_EQ(client.at(client.width / 2, typed.bottom + (typed.top - barTop) - 1), frame);
    EXPECT_EQ(client.at(barLeft, client.height / 2), frame);
    EXPECT_EQ(client.at(toType.right + (typed.left - barLeft) - 1, client.height / 2), frame);
}

TEST_F(IdleWindow, ShowsTheClockAndTheUserInTheirColours) {
    const HWND window = program_->window();
    const Image client = captureClient(window);
    const HFONT small = createSmallFont(::GetSystemMetrics(SM_CXSCREEN));

    const Image clock = renderText(L" 0:00", small, RGB(172, 172, 0), RGB(96, 126, 136));
    const int clockLeft = client.width - 2 - clock.width;
    int clockDifferences = 0;
    for (int y = 0; y < clock.height; ++y)
        for (int x = 0; x < clock.width; ++x) clockDifferences += client.at(clockLeft + x, 2 + y) != clock.at(x, y);
    EXPECT_EQ(clockDifferences, 0) << "the clock reads \" 0:00\" in the top-right corner";

    const Image label = renderText(L"Anna", small, RGB(172, 172, 0), RGB(93, 103, 93));
    const int labelTop = client.height - 2 - label.height;
    int labelDifferences = 0;
    for (int y = 0; y < label.height; ++y)
        for (int x = 0; x < label.width; ++x) labelDifferences += client.at(5 + x, labelTop + y) != label.at(x, y);
    EXPECT_EQ(labelDifferences, 0) << "the user's name stands on its box at the bottom left";
    ::DeleteObject(small);
}

TEST(SecondStart, BringsTheFirstWindowBackAndEnds) {
    ProgramDirectory directory;
    directory.addUser("Anna", storedOptionsBytes(StoredOptions {}));
    RunningProgram first(directory);
    ASSERT_TRUE(first.waitForMainWindow());
    ::PostMessageW(first.window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(waitUntil([&] { return ::IsIconic(first.window()) != FALSE; }, 5s));

    RunningProgram second(directory, {}, Copies::besideAnother);
    ASSERT_TRUE(second.waitForExit());
    EXPECT_EQ(second.exitCode(), 0u);
    EXPECT_TRUE(waitUntil([&] { return !::IsIconic(first.window()); }, 5s)) << "the first window is restored";
    EXPECT_TRUE(waitUntil([&] { return ::GetForegroundWindow() == first.window(); }, 5s)) << "and in front";
    EXPECT_TRUE(first.running());
    std::vector<HWND> mains = windowsOf(first.processId(), kMainClass);
    EXPECT_EQ(mains.size(), 1u);
}

}  // namespace
}  // namespace dactyla::e2e
