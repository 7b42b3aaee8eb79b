#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <string>

#include "base/random.h"
#include "drill_fakes.h"
#include "platform/sound_player.h"

namespace dactyla {
namespace {

using testing::DrillHarness;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::PlayedTheme;
using namespace std::string_literals;

constexpr unsigned kQuiet = platform::soundFlag::async | platform::soundFlag::noStop;  // 17
constexpr unsigned kAsync = platform::soundFlag::async;                                // 1

const std::string kLine = "the quick brown fox jumps over the lazy dog ";  // 44 characters

class TypingStrip : public ::testing::Test {
protected:
    TypingStrip() { h.options.backgroundSound = 0; }
    DrillHarness h;
};

TEST_F(TypingStrip, IdleEnterOrSpaceStartsEscClosesTheWindowAndOtherKeysDoNothing) {
    h.drill.onChar('a');
    h.drill.onChar('\t');
    EXPECT_THAT(h.effects.log, IsEmpty());
    h.drill.onChar(27);
    EXPECT_THAT(h.effects.log, ElementsAre("close window"));
    EXPECT_FALSE(h.drill.session().sessionRunning);

    h.corpus.lines.push_back(kLine);
    h.drill.onChar(' ');
    EXPECT_TRUE(h.drill.session().sessionRunning);

    DrillHarness other;
    other.corpus.lines.push_back(kLine);
    other.drill.onChar('\r');
    EXPECT_TRUE(other.drill.session().sessionRunning);
}

TEST_F(TypingStrip, TheIdleStripIsBlankWithTheCursorAtFifteen) {
    EXPECT_EQ(h.shown(), std::string(30, ' '));
    EXPECT_EQ(h.drill.strip().cursor, 15);
}

TEST_F(TypingStrip, ACorrectKeyCountsMovesTheTextLeftAndDrawsAtOnce) {
    h.start(kLine);
    ASSERT_EQ(h.drill.strip().remaining, kLine.size());
    h.type("the");
    EXPECT_EQ(h.drill.session().correctCount, 3);
    EXPECT_EQ(h.drill.strip().cursor, 18);
    EXPECT_EQ(h.drill.strip().remaining, kLine.size() - 3);
    ASSERT_EQ(h.effects.strips.size(), 3u);
    EXPECT_EQ(h.effects.strips.back(), std::string(12, ' ') + "the" + kLine.substr(3, 15));
    EXPECT_EQ(h.shown(), h.effects.strips.back());
    EXPECT_THAT(h.effects.sounds, IsEmpty());
}

TEST_F(TypingStrip, AWrongKeyPlaysErrorWithFlagsOneAndLeavesTheCursor) {
    h.start(kLine);
    h.drill.onChar('T');  // 't' expected: case matters
    EXPECT_EQ(h.drill.session().errorCount, 1);
    EXPECT_EQ(h.drill.session().correctCount, 0);
    EXPECT_EQ(h.drill.strip().cursor, 15);
    EXPECT_THAT(h.effects.sounds, ElementsAre(PlayedTheme{ ThemeId::error, kAsync }));
    EXPECT_THAT(h.effects.strips, IsEmpty());
    h.drill.onChar('t');
    EXPECT_EQ(h.drill.strip().cursor, 16);
}

TEST_F(TypingStrip, EnterTabAndBackspaceInASessionAreWrongKeys) {
    h.start(kLine);
    h.type("\r\t\b");
    EXPECT_EQ(h.drill.session().errorCount, 3);
    EXPECT_EQ(h.drill.strip().cursor, 15);
    EXPECT_TRUE(h.drill.session().sessionRunning);
}

TEST_F(TypingStrip, SpaceInsideASessionIsJudgedLikeAnyCharacter) {
    h.start(kLine);
    h.drill.onChar(' ');
    EXPECT_EQ(h.drill.session().errorCount, 1);
    h.type("the");
    h.drill.onChar(' ');
    EXPECT_EQ(h.drill.session().correctCount, 4);
}

TEST_F(TypingStrip, RussianLettersCompareAsTheirCp1251Bytes) {
    const std::string russian =
        "\xEF\xF0\xE8\xE2\xE5\xF2 \xEC\xE8\xF0 \xE8 \xE2\xF1\xE5\xEC ";  // "привет мир и всем "
    h.start(russian);
    h.drill.onChar(static_cast<char>(0xEF));
    h.drill.onChar('p');
    EXPECT_EQ(h.drill.session().correctCount, 1);
    EXPECT_EQ(h.drill.session().errorCount, 1);
}

TEST_F(TypingStrip, LeavingFifteenToTypeRefillsBehindThemWithoutRedrawing) {
    const std::string first = "abcdefghijklmnopqrstuvwxyz ";  // 27
    h.start(first);
    h.type(first.substr(0, 11));  // 16 left
    ASSERT_EQ(h.drill.strip().remaining, 16);
    const std::string next = "second line here ";
    h.corpus.lines.push_back(next);
    h.effects.forget();

    h.drill.onChar(first[11]);
    EXPECT_EQ(h.drill.strip().cursor, 15);
    EXPECT_EQ(h.drill.strip().remaining, 15 + next.size());
    EXPECT_THAT(h.effects.log, ElementsAre("strip", "line"));
    // The same 30 characters before and after the move.
    EXPECT_EQ(h.shown(), h.effects.strips.back());
    EXPECT_EQ(h.shown().substr(0, 15), std::string(3, ' ') + first.substr(0, 12));
    EXPECT_EQ(h.expected(15 + next.size()), first.substr(12) + next);
}

TEST_F(TypingStrip, ALongestSentenceFillsTheBufferToItsLastByte) {
    const std::string first(31, 'a');
    h.start(first);
    std::string longest(120, 'b');
    longest += ' ';
    h.corpus.lines.push_back(longest);
    h.type(std::string(16, 'a'));

    const auto& strip = h.drill.strip();
    EXPECT_EQ(strip.remaining, 136);
    EXPECT_EQ(strip.cursor, 15);
    EXPECT_EQ(std::string(strip.lineBuffer.data() + 30, 121), longest);
    EXPECT_EQ(strip.lineBuffer[150], ' ');
    EXPECT_EQ(strip.lineBuffer[151], '\0');
}

TEST_F(TypingStrip, AFeedClaimingMoreThanFitsIsHeldInsideTheBuffer) {
    const std::string first(31, 'a');
    h.start(first);
    h.corpus.lines.push_back("short ");
    h.corpus.claimedLength = 500;
    h.type(std::string(16, 'a'));
    EXPECT_EQ(h.drill.strip().cursor + h.drill.strip().remaining, 151);
}

TEST_F(TypingStrip, ZEAndQHardSignPlayTheirThemesWithoutInterruptingAfterTheRefill) {
    const std::string line = std::string("zq") + "\xFD\xFA" + " abcdefghijklmnopq ";  // z q э ъ
    h.start(line);
    h.type(line.substr(0, 4));
    EXPECT_THAT(h.effects.sounds,
                ElementsAre(PlayedTheme{ ThemeId::laugh, kQuiet }, PlayedTheme{ ThemeId::yes, kQuiet },
                            PlayedTheme{ ThemeId::laugh, kQuiet }, PlayedTheme{ ThemeId::yes, kQuiet }));

    // A 'z' that triggers a refill sounds after the new line was fetched.
    DrillHarness r;
    r.options.backgroundSound = 0;
    r.start("abz" + std::string("cdefghijklmnop "));
    r.type("ab");
    ASSERT_EQ(r.drill.strip().remaining, 16);
    r.corpus.lines.push_back("next ");
    r.effects.forget();
    r.type("z");
    EXPECT_THAT(r.effects.log, ElementsAre("strip", "line", "play Laugh 17"));
}

TEST_F(TypingStrip, TheFirstCorrectKeyAfterProgramStartPlaysAMelodyThenTheCountdownRuns) {
    h.options.backgroundSound = 1;
    h.start(std::string(100, 'a') + " ");
    seedRandom(4242);
    const int gap = nextRandom() % 77;
    seedRandom(4242);

    h.type("a");
    EXPECT_THAT(h.effects.sounds, ElementsAre(PlayedTheme{ ThemeId::bkGround, kQuiet }));
    EXPECT_EQ(h.drill.strip().melodyCountdown, gap);
    h.effects.forget();
    h.type(std::string(gap, 'a'));
    EXPECT_THAT(h.effects.sounds, IsEmpty());
    h.type("a");
    EXPECT_THAT(h.effects.sounds, ElementsAre(PlayedTheme{ ThemeId::bkGround, kQuiet }));
}

TEST_F(TypingStrip, WithBackgroundSoundOffTheCountdownFallsBelowZeroAndNeverComesBack) {
    h.start(std::string(100, 'a') + " ");
    h.type("a");
    EXPECT_EQ(h.drill.strip().melodyCountdown, -1);
    h.options.backgroundSound = 1;
    h.type(std::string(80, 'a'));
    EXPECT_THAT(h.effects.sounds, IsEmpty());
    EXPECT_EQ(h.drill.strip().melodyCountdown, -81);
}

TEST_F(TypingStrip, TheCountdownIsNotResetBetweenSessions) {
    h.start(std::string(40, 'a') + " ");
    h.type("aaa");
    h.effects.answers.push_back(messageBox::kYes);
    h.drill.onChar(27);
    ASSERT_FALSE(h.drill.session().sessionRunning);
    h.start(std::string(40, 'a') + " ");
    EXPECT_EQ(h.drill.strip().melodyCountdown, -3);
}

TEST_F(TypingStrip, WhilePausedTheExpectedKeyOnlyResumesAndEscEndsTheSession) {
    h.start(kLine);
    h.drill.setPaused(true);
    h.effects.forget();
    h.drill.onChar('t');
    EXPECT_FALSE(h.drill.session().sessionPaused);
    EXPECT_EQ(h.drill.session().correctCount, 0);
    EXPECT_EQ(h.drill.session().errorCount, 0);
    EXPECT_EQ(h.drill.strip().cursor, 15);
    EXPECT_EQ(h.effects.sleeps.size(), 15u);  // the resume animation

    h.drill.setPaused(true);
    h.drill.onChar(27);
    ASSERT_EQ(h.effects.boxes.size(), 1u);
}

TEST_F(TypingStrip, AnEmptyLineOnlyPostponesTheRefill) {
    const std::string first(20, 'a');
    h.start(first);
    h.type(std::string(5, 'a'));  // 15 left: the feed has nothing
    EXPECT_EQ(h.drill.strip().remaining, 15);
    h.corpus.lines.push_back("next line of text ");
    h.type("a");
    EXPECT_EQ(h.drill.strip().remaining, 14 + 18);
    EXPECT_EQ(h.drill.strip().cursor, 15);
}

TEST_F(TypingStrip, WithNothingLeftToTypeKeysAreIgnoredUntilTheFeedHasTextAgain) {
    h.start(std::string(16, 'a'));
    h.type(std::string(16, 'a'));
    ASSERT_EQ(h.drill.strip().remaining, 0);
    // Nothing is shown beyond the end of the text.
    EXPECT_EQ(h.shown(), std::string(15, 'a') + std::string(15, ' '));
    h.effects.forget();
    h.type("a \0"s);
    EXPECT_EQ(h.drill.session().correctCount, 16);
    EXPECT_EQ(h.drill.session().errorCount, 0);
    EXPECT_THAT(h.effects.sounds, IsEmpty());
    EXPECT_EQ(h.drill.strip().cursor, 15);

    h.corpus.lines.push_back("bcd ");
    h.type("b");
    EXPECT_EQ(h.drill.session().correctCount, 17);
    EXPECT_EQ(h.drill.strip().remaining, 3);
    h.drill.onChar(27);
    EXPECT_EQ(h.effects.boxes.size(), 1u);
}

}  // namespace
}  // namespace dactyla
