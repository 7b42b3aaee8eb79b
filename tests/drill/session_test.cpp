#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <algorithm>
#include <numeric>
#include <string>

#include "drill_fakes.h"
#include "platform/cp1251.h"

namespace dactyla {
namespace {

using testing::DrillHarness;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::PlayedTheme;

const std::string kTitle = "A Question Of Time";
const std::string kLine = "the quick brown fox jumps over the lazy dog ";

std::string repeatedLine() {
    return std::string(100, 'a') + " ";
}

class Session : public ::testing::Test {
protected:
    Session() {
        h.options.backgroundSound = 0;
        for (int k = 0; k < 10; ++k) h.corpus.lines.push_back(repeatedLine());
    }

    void startTyping() {
        h.drill.onChar('\r');
        ASSERT_TRUE(h.drill.session().sessionRunning);
        h.effects.forget();
    }
    void typeCorrectly(int count) {
        for (int k = 0; k < count; ++k) h.drill.onChar(h.expected(1)[0]);
    }
    void typeWrongly(int count) {
        for (int k = 0; k < count; ++k) h.drill.onChar('#');
    }
    void wait(std::uint32_t ms) { h.effects.now += ms; }
    // Ends with Esc and answers the summary box.
    void endAnswering(int answer) {
        h.effects.answers.push_back(answer);
        h.drill.onChar(27);
    }
    std::string lastBoxText() const { return h.effects.boxes.empty() ? "" : h.effects.boxes.back().text; }

    DrillHarness h;
};

// Start.

TEST_F(Session, WithoutAUserTheNewUserCommandRunsAndNothingStartsIfNoneIsMade) {
    h.effects.hasUser = false;
    h.drill.onChar('\r');
    EXPECT_THAT(h.effects.log, ElementsAre("new user"));
    EXPECT_FALSE(h.drill.session().sessionRunning);

    h.effects.newUserCreated = true;
    h.drill.onChar('\r');
    EXPECT_TRUE(h.drill.session().sessionRunning);
}

TEST_F(Session, WithoutSentencesItPlaysNoExplainsAndStaysIdle) {
    const std::string text = platform::utf8ToCp1251(
        "Извините, но не хватает\nпредложений для набора.\nПожалуйста, добавьте\nих в Настройках.\n\n"
        "Действуй, пельмень...");
    h.corpus.count = 0;
    h.drill.onChar(' ');
    EXPECT_THAT(h.effects.sounds, ElementsAre(PlayedTheme{ ThemeId::no, 1 }));
    ASSERT_EQ(h.effects.boxes.size(), 1u);
    EXPECT_EQ(h.effects.boxes[0].text, text);
    EXPECT_EQ(h.effects.boxes[0].title, kTitle);
    EXPECT_EQ(h.effects.boxes[0].style, messageBox::kIconInformation);
    EXPECT_FALSE(h.drill.session().sessionRunning);
    EXPECT_EQ(h.corpus.linesAsked, 0);

    // Alphabet lines drawn from the text need sentences too; no open corpus has none.
    h.options.alphabetMode = 1;
    h.options.uniformLetters = 0;
    h.drill.onChar(' ');
    h.drill.setCorpus(nullptr);
    h.options.alphabetMode = 0;
    h.drill.onChar(' ');
    EXPECT_EQ(h.effects.boxes.size(), 3u);
    EXPECT_FALSE(h.drill.session().sessionRunning);
}

TEST_F(Session, TheUniformAlphabetDrillStartsWithoutAnyCorpus) {
    h.drill.setCorpus(nullptr);
    h.options.alphabetMode = 1;
    h.options.uniformLetters = 1;
    h.drill.onChar(' ');
    EXPECT_TRUE(h.drill.session().sessionRunning);
    EXPECT_GE(h.drill.strip().remaining, 52);
}

TEST_F(Session, AFeedThatKeepsComingBackEmptyIsRefusedLikeMissingSentences) {
    h.corpus.lines.clear();
    h.corpus.lines.push_back("abc ");
    h.drill.onChar('\r');
    EXPECT_EQ(h.corpus.linesAsked, 16);
    EXPECT_FALSE(h.drill.session().sessionRunning);
    EXPECT_THAT(h.effects.sounds, ElementsAre(PlayedTheme{ ThemeId::no, 1 }));
    EXPECT_EQ(h.effects.boxes.size(), 1u);
    EXPECT_EQ(h.shown(), std::string(30, ' '));
    EXPECT_FALSE(h.effects.contains("label"));
}

TEST_F(Session, StartPlaysStartSwitchesLayoutParksRunsTheIntroAndArmsBothTimers) {
    h.drill.onChar('\r');
    std::vector<std::string> expected = { "line", "play Start 1", "label", "layout 00000419", "park" };
    expected.insert(expected.end(), 15, "strip");
    expected.insert(expected.end(), { "arm 1 300000", "arm 2 1000" });
    EXPECT_EQ(h.effects.log, expected);
    EXPECT_EQ(h.effects.sleeps,
              (std::vector<std::uint32_t>{ 15, 21, 27, 33, 39, 45, 51, 57, 63, 69, 75, 81, 87, 93, 99 }));
    // The intro is not typing time.
    EXPECT_EQ(h.drill.session().resumeTick, 100000u + 855u);
    EXPECT_EQ(h.drill.strip().cursor, 15);
    EXPECT_EQ(h.drill.strip().remaining, 101);
}

TEST_F(Session, EnglishSessionsUseTheUsLayoutAndNoSessionTimerWhenItIsOff) {
    h.options.russian = 0;
    h.options.timerEnabled = 0;
    h.drill.onChar('\r');
    EXPECT_TRUE(h.effects.contains("layout 00000409"));
    EXPECT_TRUE(h.effects.contains("arm 2 1000"));
    EXPECT_FALSE(std::any_of(h.effects.log.begin(), h.effects.log.end(),
                             [](const std::string& e) { return e.rfind("arm 1", 0) == 0; }));
}

TEST_F(Session, TheIntroRevealsTheTextFromTheRightTowardsTheCursor) {
    h.corpus.lines.clear();
    h.corpus.lines.push_back(kLine);
    h.drill.onChar('\r');
    ASSERT_EQ(h.effects.strips.size(), 15u);
    EXPECT_EQ(h.effects.strips[0], std::string(29, ' ') + kLine.substr(14, 1));
    EXPECT_EQ(h.effects.strips[6], std::string(23, ' ') + kLine.substr(8, 7));
    EXPECT_EQ(h.effects.strips[14], std::string(15, ' ') + kLine.substr(0, 15));
}

TEST_F(Session, ANewSessionClearsErrorsAndClock) {
    startTyping();
    typeWrongly(3);
    typeCorrectly(5);
    wait(70000);
    endAnswering(messageBox::kYes);
    startTyping();
    EXPECT_EQ(h.drill.session().errorCount, 0);
    EXPECT_EQ(h.drill.session().correctCount, 0);
    EXPECT_EQ(h.drill.session().elapsedMs, 0u);
    EXPECT_EQ(h.drill.session().clockMinutes, 0);
    EXPECT_EQ(h.drill.session().clockSeconds, 0);
}

// Clock.

TEST_F(Session, EachTickAdvancesTheClockAndEveryTenthSetsItFromRealTime) {
    startTyping();
    const std::uint32_t begin = h.drill.session().resumeTick;
    for (int tick = 1; tick <= 9; ++tick) h.drill.onClockTimer(kClockTimerId, begin + tick * 1000);
    EXPECT_EQ(h.effects.clocks.back(), std::make_pair(0, 9));
    EXPECT_EQ(h.effects.clocks.size(), 9u);
    // The timer ran slow: 12.7 s have passed at its tenth tick.
    h.drill.onClockTimer(kClockTimerId, begin + 12700);
    EXPECT_EQ(h.effects.clocks.back(), std::make_pair(0, 12));
    h.drill.onClockTimer(kClockTimerId, begin + 13700);
    EXPECT_EQ(h.effects.clocks.back(), std::make_pair(0, 13));
}

TEST_F(Session, TheClockCarriesIntoMinutesAndWrapsAfter255) {
    startTyping();
    const std::uint32_t begin = h.drill.session().resumeTick;
    std::uint32_t second = 0;
    auto tickTo = [&](std::uint32_t until) {
        while (second < until) h.drill.onClockTimer(kClockTimerId, begin + ++second * 1000);
    };
    tickTo(59);
    EXPECT_EQ(h.effects.clocks.back(), std::make_pair(0, 59));
    tickTo(60);
    EXPECT_EQ(h.effects.clocks.back(), std::make_pair(1, 0));
    tickTo(599);
    EXPECT_EQ(h.effects.clocks.back(), std::make_pair(9, 59));
    tickTo(600);
    EXPECT_EQ(h.effects.clocks.back(), std::make_pair(10, 0));
    tickTo(256 * 60 - 1);
    EXPECT_EQ(h.effects.clocks.back(), std::make_pair(255, 59));
    tickTo(256 * 60);
    EXPECT_EQ(h.effects.clocks.back(), std::make_pair(0, 0));
}

TEST_F(Session, TheResyncCountCarriesOverIntoTheNextSession) {
    startTyping();
    for (int tick = 1; tick <= 7; ++tick)
        h.drill.onClockTimer(kClockTimerId, h.drill.session().resumeTick + tick * 1000);
    endAnswering(messageBox::kYes);
    startTyping();
    const std::uint32_t begin = h.drill.session().resumeTick;
    h.drill.onClockTimer(kClockTimerId, begin + 1000);
    h.drill.onClockTimer(kClockTimerId, begin + 2000);
    EXPECT_EQ(h.effects.clocks.back(), std::make_pair(0, 2));
    // The third tick of this session is the tenth since the last correction.
    h.drill.onClockTimer(kClockTimerId, begin + 8000);
    EXPECT_EQ(h.effects.clocks.back(), std::make_pair(0, 8));
}

TEST_F(Session, TicksOfOtherTimersOrOfAStoppedClockDoNothing) {
    h.drill.onClockTimer(kClockTimerId, 5000);
    startTyping();
    h.drill.onClockTimer(3, 5000);
    h.drill.setPaused(true);
    h.effects.forget();
    h.drill.onClockTimer(kClockTimerId, 5000);
    EXPECT_THAT(h.effects.log, IsEmpty());
    EXPECT_EQ(h.drill.session().clockSeconds, 0);
}

// Pause and resume.

TEST_F(Session, PauseBanksTheTypingTimeStopsBothTimersAndShowsThePauseText) {
    const std::string pauseText = platform::utf8ToCp1251("    НАШИ ПАЛЬЧИКИ УСТАЛИ ?    ");
    ASSERT_EQ(pauseText.size(), 30u);
    startTyping();
    wait(40000);
    h.drill.setPaused(true);
    EXPECT_THAT(h.effects.log, ElementsAre("kill 1", "kill 2", "strip", "play Pause 9"));
    EXPECT_EQ(h.effects.strips[0], pauseText);
    EXPECT_EQ(h.shown(), pauseText);
    EXPECT_EQ(h.drill.session().elapsedMs, 40000u);
    EXPECT_TRUE(h.drill.session().sessionPaused);

    h.effects.forget();
    h.drill.setPaused(true);
    EXPECT_THAT(h.effects.log, IsEmpty());
}

TEST_F(Session, PauseLeavesTheSessionTimerAloneWhenItIsOff) {
    h.options.timerEnabled = 0;
    startTyping();
    h.drill.setPaused(true);
    EXPECT_THAT(h.effects.log, ElementsAre("kill 2", "strip", "play Pause 9"));
}

TEST_F(Session, ResumeRevealsTheStripFromBothEndsThenRearmsForTheRestOfThePeriod) {
    h.options.timerSeconds = 90;
    h.corpus.lines.clear();
    h.corpus.lines.push_back(kLine);
    startTyping();
    typeCorrectly(4);
    const std::string real = h.shown();
    wait(40000);
    h.drill.setPaused(true);
    const std::string pauseText = h.shown();
    wait(25000);
    h.effects.forget();

    h.drill.setPaused(false);
    ASSERT_EQ(h.effects.strips.size(), 15u);
    EXPECT_EQ(h.effects.strips[0], real.substr(0, 1) + pauseText.substr(1, 28) + real.substr(29));
    EXPECT_EQ(h.effects.strips[4], real.substr(0, 5) + pauseText.substr(5, 20) + real.substr(25));
    EXPECT_EQ(h.effects.strips[14], real);
    EXPECT_EQ(h.effects.sleeps,
              (std::vector<std::uint32_t>{ 90, 86, 82, 78, 74, 70, 66, 62, 58, 54, 50, 46, 42, 38, 34 }));
    const std::vector<std::string> tail(h.effects.log.end() - 3, h.effects.log.end());
    EXPECT_THAT(tail, ElementsAre("stop sound", "arm 1 50000", "arm 2 1000"));
    EXPECT_EQ(h.drill.session().resumeTick, h.effects.now);
    EXPECT_EQ(h.shown(), real);

    // Fifty more seconds of typing reach the ninety; the pause did not count.
    wait(50000);
    h.drill.onClockTimer(kSessionTimerId, h.effects.now);
    ASSERT_EQ(h.effects.boxes.size(), 1u);
    EXPECT_EQ(h.drill.session().clockMinutes, 1);
    EXPECT_EQ(h.drill.session().clockSeconds, 30);
}

TEST_F(Session, SetPausedOutsideASessionDoesNothing) {
    h.drill.setPaused(true);
    h.drill.setPaused(false);
    EXPECT_THAT(h.effects.log, IsEmpty());
    EXPECT_FALSE(h.drill.session().sessionPaused);
}

// End.

TEST_F(Session, TheSummaryShowsTimeCountsErrorsAndSpeedAfterMovingThePointer) {
    startTyping();
    typeCorrectly(5);
    typeWrongly(2);
    wait(65400);
    endAnswering(messageBox::kNo);
    const std::string expected = platform::utf8ToCp1251(
        "Время:    1:05\n\nНатыкано:\n• символов  -  5  (7)\n• ошибок  -  28.6%  (2)\n\n"
        "СКОРОСТЬ:   4 сим/мин\n\n   Завершить сеанс ?");
    ASSERT_EQ(h.effects.boxes.size(), 1u);
    EXPECT_EQ(h.effects.boxes[0].text, expected);
    EXPECT_EQ(h.effects.boxes[0].title, kTitle);
    EXPECT_EQ(h.effects.boxes[0].style, 0x144u);  // MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2
    const auto box = std::find(h.effects.log.begin(), h.effects.log.end(), "box");
    ASSERT_GE(box - h.effects.log.begin(), 5);
    EXPECT_EQ(std::vector<std::string>(box - 5, box + 1),
              (std::vector<std::string>{ "kill 1", "kill 2", "clock 1:5", "play Suxx 1", "pointer 640,612",
                                         "box" }));
    EXPECT_EQ(h.drill.session().elapsedMs, 65400u);
}

TEST_F(Session, TheResultSoundFollowsTheSpeed) {
    struct Case {
        int correct;
        ThemeId theme;
    };
    for (const Case c :
         { Case{ 240, ThemeId::yes }, Case{ 120, ThemeId::laugh }, Case{ 119, ThemeId::suxx } }) {
        DrillHarness s;
        for (int k = 0; k < 5; ++k) s.corpus.lines.push_back(repeatedLine());
        s.options.backgroundSound = 0;
        s.drill.onChar('\r');
        for (int k = 0; k < c.correct; ++k) s.drill.onChar(s.expected(1)[0]);
        s.effects.forget();
        s.effects.now += 120000;
        s.drill.onChar(27);
        EXPECT_THAT(s.effects.sounds, ElementsAre(PlayedTheme{ c.theme, 1 })) << c.correct;
    }
}

TEST_F(Session, YesLogsASessionOfTwoMinutesAddsTotalsSavesThePositionAndReturnsToIdle) {
    startTyping();
    typeCorrectly(240);
    typeWrongly(10);
    wait(120000);
    h.corpus.wrapped = true;
    endAnswering(messageBox::kYes);
    ASSERT_EQ(h.effects.appended.size(), 1u);
    EXPECT_EQ(h.effects.appended[0].speed, 120);
    EXPECT_FLOAT_EQ(h.effects.appended[0].errorPercent, 4.0f);
    EXPECT_EQ(h.effects.appended[0].minutes, 2);
    EXPECT_EQ(h.effects.appended[0].seconds, 0);
    const auto box = std::find(h.effects.log.begin(), h.effects.log.end(), "box");
    EXPECT_EQ(std::vector<std::string>(box + 1, h.effects.log.end()),
              (std::vector<std::string>{ "append", "totals 240 120", "take wrapped", "reshuffle",
                                         "save position", "strip", "clock 0:0", "label", "play Loop 9" }));
    EXPECT_EQ(h.effects.strips.back(), std::string(30, ' '));
    EXPECT_FALSE(h.drill.session().sessionRunning);
    EXPECT_FALSE(h.drill.session().sessionPaused);
    EXPECT_EQ(h.drill.session().correctCount, 0);
    EXPECT_EQ(h.drill.strip().cursor, 15);
    EXPECT_EQ(h.shown(), std::string(30, ' '));
}

// 16-bit counts would wrap past 65,535 and show, log and add a fraction of what was typed.
TEST_F(Session, ASessionPastSixtyFiveThousandKeystrokesShowsLogsAndAddsTheRightFigures) {
    for (int k = 0; k < 800; ++k) h.corpus.lines.push_back(repeatedLine());
    startTyping();
    typeCorrectly(70000);
    typeWrongly(70000);
    wait(200 * 60000);
    endAnswering(messageBox::kYes);
    EXPECT_NE(lastBoxText().find("70000  (140000)"), std::string::npos) << lastBoxText();
    EXPECT_NE(lastBoxText().find("50.0%  (70000)"), std::string::npos);
    ASSERT_EQ(h.effects.appended.size(), 1u);
    EXPECT_EQ(h.effects.appended[0].speed, 350);
    EXPECT_FLOAT_EQ(h.effects.appended[0].errorPercent, 50.0f);
    EXPECT_TRUE(h.effects.contains("totals 70000 12000"));
}

TEST_F(Session, ASessionOfOneMinuteFiftyNineIsNotLoggedButCountsInTheTotals) {
    startTyping();
    typeCorrectly(100);
    wait(119999);
    endAnswering(messageBox::kYes);
    EXPECT_THAT(h.effects.appended, IsEmpty());
    EXPECT_TRUE(h.effects.contains("totals 100 119"));
    EXPECT_FALSE(h.effects.contains("reshuffle"));
    EXPECT_TRUE(h.effects.contains("save position"));
}

TEST_F(Session, WhileTheLogCannotBeWrittenRetryTriesAgainAndCancelGivesUpTheLine) {
    const std::string text = platform::utf8ToCp1251(
        "Ошибка при добавлении результата в файл!\n(возможно файл открыт другим приложением)\n\n"
        "Попробовать еще раз?");
    startTyping();
    typeCorrectly(10);
    wait(150000);
    h.effects.appendResults = { false, false, true };
    h.effects.answers = { messageBox::kYes, messageBox::kRetry, messageBox::kRetry };
    h.drill.onChar(27);
    EXPECT_EQ(h.effects.appended.size(), 3u);
    ASSERT_EQ(h.effects.boxes.size(), 3u);
    EXPECT_EQ(h.effects.boxes[1].text, text);
    EXPECT_EQ(h.effects.boxes[1].title, kTitle);
    EXPECT_EQ(h.effects.boxes[1].style, 0x15u);  // MB_RETRYCANCEL | MB_ICONERROR
    EXPECT_TRUE(h.effects.contains("totals 10 150"));

    startTyping();
    typeCorrectly(10);
    wait(150000);
    h.effects.appendResults = { false, false };
    h.effects.answers = { messageBox::kYes, messageBox::kCancel };
    h.drill.onChar(27);
    EXPECT_EQ(h.effects.appended.size(), 1u);
    EXPECT_EQ(h.effects.boxes.size(), 2u);
    EXPECT_TRUE(h.effects.contains("totals 10 150"));
    EXPECT_FALSE(h.drill.session().sessionRunning);
}

TEST_F(Session, NoLetsTypingGoOnWhereItWasWithTheTimerArmedForTheRestOfItsPeriod) {
    startTyping();
    typeCorrectly(7);
    typeWrongly(1);
    wait(300015);
    h.effects.forget();
    h.effects.answers.push_back(messageBox::kNo);
    h.drill.onClockTimer(kSessionTimerId, h.effects.now);
    const auto box = std::find(h.effects.log.begin(), h.effects.log.end(), "box");
    ASSERT_NE(box, h.effects.log.end());
    EXPECT_EQ(std::vector<std::string>(box + 1, h.effects.log.end()),
              (std::vector<std::string>{ "park", "arm 1 299985", "arm 2 1000" }));
    EXPECT_TRUE(h.drill.session().sessionRunning);
    EXPECT_EQ(h.drill.session().resumeTick, h.effects.now);
    EXPECT_EQ(h.drill.session().correctCount, 7);
    EXPECT_EQ(h.drill.session().errorCount, 1);
    EXPECT_EQ(h.drill.strip().cursor, 22);
    typeCorrectly(1);
    EXPECT_EQ(h.drill.session().correctCount, 8);
}

TEST_F(Session, EndingAPausedSessionPlaysNoResultSoundAndNoLeavesItPaused) {
    startTyping();
    typeCorrectly(3);
    h.drill.setPaused(true);
    h.effects.forget();
    endAnswering(messageBox::kNo);
    EXPECT_THAT(h.effects.sounds, IsEmpty());
    EXPECT_EQ(h.effects.log.back(), "park");
    EXPECT_FALSE(std::any_of(h.effects.log.begin(), h.effects.log.end(), [](const std::string& e) {
        return e.rfind("arm", 0) == 0 || e.rfind("kill", 0) == 0;
    }));
    EXPECT_TRUE(h.drill.session().sessionRunning);
    EXPECT_TRUE(h.drill.session().sessionPaused);
    h.drill.onChar('x');
    EXPECT_FALSE(h.drill.session().sessionPaused);
    EXPECT_EQ(h.drill.session().errorCount, 0);
}

TEST_F(Session, AZeroSecondTimerEndsAtOnceAndNoThenLetsTypingGoOnWithoutIt) {
    h.options.timerSeconds = 0;
    h.drill.onChar('\r');
    EXPECT_TRUE(h.effects.contains("arm 1 0"));
    h.effects.forget();
    h.effects.answers.push_back(messageBox::kNo);
    h.drill.onClockTimer(kSessionTimerId, h.effects.now);
    EXPECT_EQ(h.effects.boxes.size(), 1u);
    EXPECT_EQ(h.effects.log.back(), "arm 2 1000");
    EXPECT_FALSE(h.effects.contains("arm 1 0"));
    EXPECT_TRUE(h.drill.session().sessionRunning);
    h.drill.setPaused(true);
    h.drill.setPaused(false);
    EXPECT_EQ(h.effects.log.back(), "arm 2 1000");
    EXPECT_FALSE(h.effects.contains("arm 1 0"));
}

TEST_F(Session, ASessionUnderOneSecondHasSpeedZero) {
    startTyping();
    typeCorrectly(3);
    wait(999);
    endAnswering(messageBox::kNo);
    EXPECT_THAT(h.effects.sounds, ElementsAre(PlayedTheme{ ThemeId::suxx, 1 }));
    EXPECT_NE(lastBoxText().find(platform::utf8ToCp1251("Время:    0:00")), std::string::npos);
    EXPECT_NE(lastBoxText().find(platform::utf8ToCp1251("СКОРОСТЬ:   0 сим/мин")), std::string::npos);
}

TEST_F(Session, WithoutKeystrokesTheErrorShareReadsZero) {
    startTyping();
    wait(5000);
    endAnswering(messageBox::kNo);
    EXPECT_NE(lastBoxText().find(platform::utf8ToCp1251("• символов  -  0  (0)\n• ошибок  -  0.0%  (0)")),
              std::string::npos);
}

TEST_F(Session, ClosingTheWindowMidSessionKeepsTotalsAndPositionButWritesNoResult) {
    h.drill.shutdown();
    EXPECT_THAT(h.effects.log, IsEmpty());

    startTyping();
    typeCorrectly(50);
    const std::uint32_t begin = h.drill.session().resumeTick;
    for (int tick = 1; tick <= 125; ++tick) h.drill.onClockTimer(kClockTimerId, begin + tick * 1000);
    h.effects.forget();
    h.drill.shutdown();
    EXPECT_THAT(h.effects.log, ElementsAre("totals 50 125", "save position"));
    EXPECT_THAT(h.effects.appended, IsEmpty());
    EXPECT_FALSE(h.drill.session().sessionRunning);
    h.drill.shutdown();
    EXPECT_EQ(h.effects.log.size(), 2u);
}

TEST_F(Session, YesWithoutAnOpenCorpusStillEndsTheSession) {
    h.drill.setCorpus(nullptr);
    h.options.alphabetMode = 1;
    startTyping();
    typeCorrectly(20);
    wait(130000);
    endAnswering(messageBox::kYes);
    EXPECT_EQ(h.effects.appended.size(), 1u);
    EXPECT_TRUE(h.effects.contains("totals 20 130"));
    EXPECT_FALSE(h.drill.session().sessionRunning);
}

}  // namespace
}  // namespace dactyla
