// Per-key counting: what the drill charges to which key, and when it hands the counts over.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <limits>
#include <string>
#include <vector>

#include "drill_fakes.h"

namespace dactyla {
namespace {

using testing::DrillHarness;
using ::testing::IsEmpty;

constexpr char kEscape = 27;
const std::string kLine = "abc abc abc abc abc abc ";

struct Typing {
    const char* name;
    std::string keys;  // typed over kLine
    std::vector<std::pair<char, std::uint32_t>> correct;
    std::vector<std::pair<char, std::uint32_t>> wrong;
    std::vector<std::tuple<char, char, std::uint32_t>> confusions;  // expected, typed, count
};

class KeyCounting : public ::testing::Test {
protected:
    KeyCounting() {
        h.options.backgroundSound = 0;
        for (int k = 0; k < 10; ++k) h.corpus.lines.push_back(kLine);
    }
    void startTyping() {
        h.drill.onChar('\r');
        ASSERT_TRUE(h.drill.session().sessionRunning);
        h.effects.forget();
    }
    void endAnswering(int answer) {
        h.effects.answers.push_back(answer);
        h.drill.onChar(kEscape);
    }

    DrillHarness h;
};

TEST_F(KeyCounting, EveryJudgedKeystrokeIsChargedToTheExpectedCharacter) {
    const Typing cases[] = {
        {"all correct", "abc a", {{'a', 2}, {'b', 1}, {'c', 1}, {' ', 1}}, {}, {}},
        {"a wrong key stays at the same place", "axxbc",
         {{'a', 1}, {'b', 1}, {'c', 1}}, {{'b', 2}}, {{'b', 'x', 2}}},
        {"different wrong keys for one character", "abzyc", {{'a', 1}, {'b', 1}, {'c', 1}}, {{'c', 2}},
         {{'c', 'z', 1}, {'c', 'y', 1}}},
        {"a wrong space and a right one", "abcb ", {{'a', 1}, {'b', 1}, {'c', 1}, {' ', 1}}, {{' ', 1}},
         {{' ', 'b', 1}}},
        {"CP1251 bytes above 0x7F", "\xE0\xFF" "a", {{'a', 1}}, {{'a', 2}}, {{'a', '\xE0', 1}, {'a', '\xFF', 1}}},
    };
    for (const Typing& typing : cases) {
        SCOPED_TRACE(typing.name);
        h.drill.shutdown();
        h.corpus.lines.assign(10, kLine);
        startTyping();
        for (const char key : typing.keys) h.drill.onChar(key);
        const KeyCounts& counts = h.drill.keyCounts();
        std::uint32_t correct = 0;
        std::uint32_t wrong = 0;
        for (unsigned byte = 0; byte < kByteValues; ++byte) {
            correct += counts.correct(static_cast<unsigned char>(byte));
            wrong += counts.wrong(static_cast<unsigned char>(byte));
        }
        std::uint32_t expectedCorrect = 0;
        for (const auto& [key, count] : typing.correct) {
            EXPECT_EQ(counts.correct(static_cast<unsigned char>(key)), count) << key;
            expectedCorrect += count;
        }
        std::uint32_t expectedWrong = 0;
        for (const auto& [key, count] : typing.wrong) {
            EXPECT_EQ(counts.wrong(static_cast<unsigned char>(key)), count) << key;
            expectedWrong += count;
        }
        for (const auto& [expected, typed, count] : typing.confusions)
            EXPECT_EQ(counts.confusion(static_cast<unsigned char>(expected), static_cast<unsigned char>(typed)), count);
        EXPECT_EQ(correct, expectedCorrect) << "nothing else counted";
        EXPECT_EQ(wrong, expectedWrong) << "nothing else counted";
        // The session's own counters agree with the per-key ones.
        EXPECT_EQ(h.drill.session().errorCount, expectedWrong);
    }
}

TEST_F(KeyCounting, KeysThatResumeAPausedSessionAreNotCounted) {
    startTyping();
    h.drill.onChar('a');
    h.drill.setPaused(true);
    h.drill.onChar('x');  // resumes
    ASSERT_FALSE(h.drill.session().sessionPaused);
    h.drill.setPaused(true);
    h.drill.onChar('b');  // the expected key resumes too, and is not typed
    EXPECT_EQ(h.drill.keyCounts().correct('a'), 1u);
    EXPECT_EQ(h.drill.keyCounts().correct('b'), 0u);
    EXPECT_EQ(h.drill.keyCounts().wrong('b'), 0u);
    EXPECT_EQ(h.drill.session().errorCount, 0u);
}

TEST_F(KeyCounting, EscAndKeysOutsideASessionAreNotCounted) {
    h.drill.onChar('a');
    startTyping();
    h.drill.onChar('a');
    endAnswering(messageBox::kNo);
    EXPECT_EQ(h.drill.keyCounts().correct('a'), 1u);
    EXPECT_EQ(h.drill.keyCounts().wrong('b'), 0u);
    EXPECT_EQ(h.drill.keyCounts().confusion('b', static_cast<unsigned char>(kEscape)), 0u);
}

TEST_F(KeyCounting, NoKeepsCountingAndYesStoresTheWholeSessionOnceWithTheTotals) {
    startTyping();
    for (const char key : std::string("axb")) h.drill.onChar(key);
    endAnswering(messageBox::kNo);
    EXPECT_THAT(h.effects.storedKeyCounts, IsEmpty());
    for (const char key : std::string("cy ")) h.drill.onChar(key);
    h.effects.now += 130000;
    endAnswering(messageBox::kYes);

    ASSERT_EQ(h.effects.storedKeyCounts.size(), 1u);
    const KeyCounts& stored = h.effects.storedKeyCounts[0];
    EXPECT_EQ(stored.correct('a') + stored.correct('b') + stored.correct('c') + stored.correct(' '), 4u);
    EXPECT_EQ(stored.confusion('b', 'x'), 1u);
    EXPECT_EQ(stored.confusion(' ', 'y'), 1u);
    EXPECT_TRUE(h.effects.contains("totals 4 130"));
    EXPECT_TRUE(h.drill.keyCounts().empty()) << "the next session starts afresh";

    startTyping();
    h.drill.onChar('q');
    h.effects.now += 5000;
    endAnswering(messageBox::kYes);
    ASSERT_EQ(h.effects.storedKeyCounts.size(), 1u);
    EXPECT_EQ(h.effects.storedKeyCounts[0].wrong('a'), 1u);
    EXPECT_EQ(h.effects.storedKeyCounts[0].correct('a'), 0u) << "only the new session";
}

TEST_F(KeyCounting, ASessionWithoutKeystrokesStoresNothing) {
    startTyping();
    endAnswering(messageBox::kYes);
    EXPECT_THAT(h.effects.storedKeyCounts, IsEmpty());
}

TEST_F(KeyCounting, DestroyingTheWindowDuringASessionStoresItsCountsAndIdleStoresNothing) {
    h.drill.shutdown();
    EXPECT_THAT(h.effects.storedKeyCounts, IsEmpty());
    startTyping();
    for (const char key : std::string("ab?c")) h.drill.onChar(key);
    h.drill.shutdown();
    ASSERT_EQ(h.effects.storedKeyCounts.size(), 1u);
    EXPECT_EQ(h.effects.storedKeyCounts[0].confusion('c', '?'), 1u);
    EXPECT_EQ(h.effects.storedKeyCounts[0].correct('c'), 1u);
    h.drill.shutdown();
    EXPECT_EQ(h.effects.storedKeyCounts.size(), 1u);
}

TEST(KeyCountsRecord, AddsSaturatesClearsAndCountsEachConfusion) {
    KeyCounts session;
    session.countCorrect('a');
    session.countWrong('a', 's');
    session.countWrong('a', 's');
    session.countWrong('a', 'q');
    EXPECT_EQ(session.confusion('a', 's'), 2u);
    EXPECT_EQ(session.confusion('a', 'q'), 1u);
    EXPECT_EQ(session.confusion('s', 'a'), 0u) << "a confusion has a direction";
    EXPECT_EQ(session.wrong('a'), 3u);

    KeyCounts total;
    total.correctTable()['a'] = std::numeric_limits<std::uint32_t>::max() - 1;
    total.add(session);
    total.add(session);
    EXPECT_EQ(total.correct('a'), std::numeric_limits<std::uint32_t>::max()) << "stops, does not wrap";
    EXPECT_EQ(total.wrong('a'), 6u);
    EXPECT_EQ(total.confusion('a', 'q'), 2u);
    EXPECT_FALSE(total.empty());
    total.clear();
    EXPECT_TRUE(total.empty());
    EXPECT_EQ(total, KeyCounts {});
}

}  // namespace
}  // namespace dactyla
