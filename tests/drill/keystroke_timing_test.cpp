// Keystroke timing in the drill over a controlled clock: when a character is due, what its
// latency and reaction are, which presses are not timed, and which are marked hinted.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "drill_fakes.h"
#include "progress/timing_statistics.h"

namespace dactyla {
namespace {

using testing::DrillHarness;

constexpr char kEscape = 27;
const std::string kLine = "abc abc abc abc abc abc ";

// One step of a script: a character typed at a time, or something done to the drill.
struct Step {
    enum Kind { key, pause, hint, answerNo } kind = key;
    char character = 0;
    std::uint32_t at = 0;
};
Step at(std::uint32_t time, char character) { return {Step::key, character, time}; }
const Step kPause {Step::pause};
const Step kHint {Step::hint};
const Step kEscapeAnsweringNo {Step::answerNo};

TimedKeystroke untimed(char expected, char previous, bool hinted = false) {
    return {.expected = static_cast<unsigned char>(expected), .previous = static_cast<unsigned char>(previous),
            .correct = true, .hinted = hinted};
}
TimedKeystroke timed(char expected, char previous, std::uint32_t latency, std::uint32_t reaction, bool hinted = false) {
    return {.expected = static_cast<unsigned char>(expected), .previous = static_cast<unsigned char>(previous),
            .correct = true, .hinted = hinted, .timed = true, .latencyMs = latency, .reactionMs = reaction};
}
TimedKeystroke missed(char expected, bool hinted = false) {
    return {.expected = static_cast<unsigned char>(expected), .hinted = hinted};
}

struct TimingCase {
    const char* name;
    std::vector<Step> steps;
    std::vector<TimedKeystroke> expected;
};

class KeystrokeTiming : public ::testing::Test {
protected:
    KeystrokeTiming() {
        h.options.backgroundSound = 0;
        h.corpus.lines.assign(10, kLine);
    }
    void run(const std::vector<Step>& steps) {
        h.drill.onChar('\r', 500);
        ASSERT_TRUE(h.drill.session().sessionRunning);
        for (const Step& step : steps) {
            switch (step.kind) {
            case Step::key: h.drill.onChar(step.character, step.at); break;
            case Step::pause: h.drill.setPaused(true); break;
            case Step::hint: h.drill.markHinted(); break;
            case Step::answerNo:
                h.effects.answers.push_back(messageBox::kNo);
                h.drill.onChar(kEscape);
                break;
            }
        }
    }
    DrillHarness h;
};

TEST_F(KeystrokeTiming, DueLatencyReactionAndWhatIsLeftOut) {
    const TimingCase cases[] = {
        {"steady typing: due at the correct keystroke before",
         {at(1000, 'a'), at(1200, 'b'), at(1500, 'c')},
         {untimed('a', ' '), timed('b', 'a', 200, 200), timed('c', 'b', 300, 300)}},
        {"wrong presses count into the latency, the reaction is the first press",
         {at(1000, 'a'), at(1100, 'x'), at(1300, 'y'), at(1600, 'b')},
         {untimed('a', ' '), missed('b'), missed('b'), timed('b', 'a', 600, 100)}},
        {"the first character of a session is not timed, even after a wrong press",
         {at(900, 'x'), at(1000, 'a'), at(1250, 'b')},
         {missed('a'), untimed('a', ' '), timed('b', 'a', 250, 250)}},
        {"after a pause the first character is not timed and the resuming key is not judged",
         {at(1000, 'a'), at(1200, 'b'), kPause, at(9000, 'c'), at(20000, 'c'), at(20300, ' ')},
         {untimed('a', ' '), timed('b', 'a', 200, 200), untimed('c', 'b'), timed(' ', 'c', 300, 300)}},
        {"a pause between a wrong press and the right one times nothing",
         {at(1000, 'a'), at(1100, 'z'), kPause, at(5000, 'q'), at(6000, 'b'), at(6400, 'c')},
         {untimed('a', ' '), missed('b'), untimed('b', 'a'), timed('c', 'b', 400, 400)}},
        {"the summary's No begins a new run",
         {at(1000, 'a'), at(1200, 'b'), kEscapeAnsweringNo, at(30000, 'c'), at(30150, ' ')},
         {untimed('a', ' '), timed('b', 'a', 200, 200), untimed('c', 'b'), timed(' ', 'c', 150, 150)}},
        {"a hint marks the keystrokes after it until the key is typed",
         {at(1000, 'a'), at(1100, 'x'), kHint, at(1700, 'y'), at(2000, 'b'), at(2100, 'c')},
         {untimed('a', ' '), missed('b'), missed('b', true), timed('b', 'a', 1000, 100, true),
          timed('c', 'b', 100, 100)}},
        {"a hint on the first character of a run",
         {kHint, at(1000, 'a'), at(1100, 'b')},
         {untimed('a', ' ', true), timed('b', 'a', 100, 100)}},
        {"CP1251 bytes above 0x7F and the space",
         {at(1000, 'a'), at(1100, '\xE0'), at(1400, 'b'), at(1500, 'c'), at(1900, ' ')},
         {untimed('a', ' '), missed('b'), timed('b', 'a', 400, 100), timed('c', 'b', 100, 100),
          timed(' ', 'c', 400, 400)}},
        {"message times wrap at 2^32",
         {at(0xFFFFFF00u, 'a'), at(0x40, 'b')},
         {untimed('a', ' '), timed('b', 'a', 0x140, 0x140)}},
    };
    for (const TimingCase& c : cases) {
        SCOPED_TRACE(c.name);
        h.drill.shutdown();
        h.corpus.lines.assign(10, kLine);
        run(c.steps);
        EXPECT_EQ(h.drill.keystrokes(), c.expected);
    }
}

TEST_F(KeystrokeTiming, TheSessionsKeystrokesAreStoredWithItsCountsAndStartAfresh) {
    run({at(1000, 'a'), at(1200, 'x'), at(1300, 'b')});
    h.effects.answers.push_back(messageBox::kYes);
    h.drill.onChar(kEscape);
    ASSERT_EQ(h.effects.storedKeystrokes.size(), 1u);
    EXPECT_EQ(h.effects.storedKeystrokes[0],
              (std::vector<TimedKeystroke> {untimed('a', ' '), missed('b'), timed('b', 'a', 300, 200)}));
    EXPECT_TRUE(h.drill.keystrokes().empty());

    h.corpus.lines.assign(10, kLine);
    run({kHint});
    h.drill.shutdown();
    run({at(1000, 'a')});
    EXPECT_EQ(h.drill.keystrokes(), std::vector<TimedKeystroke> {untimed('a', ' ')}) << "no hint left over";
}

// A session typed at a steady 250 ms with one wait: the key waited for is slow, a wait over two
// seconds is a hesitation and leaves the speed alone.
TEST_F(KeystrokeTiming, ALongWaitBeforeOneLetterIsAHesitationOfThatLetter) {
    std::vector<Step> steps;
    std::uint32_t now = 1000;
    for (int round = 0; round < 6; ++round)
        for (const char c : std::string("abc ")) {
            now += c == 'c' ? (round == 3 ? 4000 : 900) : 250;
            steps.push_back(at(now, c));
        }
    run(steps);
    TimingStatistics statistics;
    statistics.addSession(h.drill.keystrokes());
    EXPECT_EQ(statistics.key('c').hesitations, 1u);
    EXPECT_EQ(statistics.key('c').latencies.size(), 5u);
    EXPECT_EQ(medianLatencyMs(statistics.key('c')), 900.0);
    EXPECT_EQ(medianLatencyMs(statistics.key('b')), 250.0);
    EXPECT_EQ(statistics.key('a').latencies.size(), 5u) << "the first 'a' began the session";
    EXPECT_EQ(statistics.key('b').hesitations + statistics.key('a').hesitations, 0u);
}

}  // namespace
}  // namespace dactyla
