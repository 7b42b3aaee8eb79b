// The keyboard following a typed text: what it shows, when its hint timer is armed, and which
// keystrokes the drill's timer marks hinted because the guide showed their key.
#include "guide/guide_follower.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "drill/keystroke_timing.h"
#include "known_keys.h"

namespace dactyla {
namespace {

using testing::FakeKnowledge;

// Records what the follower asks of the program; the hint mark goes to a real keystroke timer,
// as the drill's does.
class RecordingShell final : public GuideShell {
public:
    void showPicture(bool russian, const KeyboardPicture& picture) override {
        shownRussian = russian;
        shown = picture;
        ++pictures;
    }
    void armHintTimer(std::optional<std::uint32_t> ms) override { timer = ms; }
    void markHinted() override {
        ++marks;
        keystrokes.markHinted();
    }

    bool shownRussian = false;
    KeyboardPicture shown;
    int pictures = 0;
    std::optional<std::uint32_t> timer;
    int marks = 0;
    KeystrokeTimer keystrokes;
};

// Types an English text keystroke by keystroke, the way the program calls the drill and then
// the follower.
class Typist {
public:
    Typist(KeyboardMode mode, std::string text, std::map<unsigned char, KeyKnowledge> known = {})
        : text_(std::move(text)) {
        knowledge.keys = std::move(known);
        follower.setMode(mode);
        shell.keystrokes.beginRun();
        follow(0, 0);
    }
    void right(std::uint32_t now) {
        shell.keystrokes.correctPress(due(), correct_ > 0 ? text_[correct_ - 1] : 0, now);
        ++correct_;
        follow(0, now);
    }
    void wrong(char typed, std::uint32_t now) {
        shell.keystrokes.wrongPress(due(), now);
        ++errors_;
        follow(static_cast<unsigned char>(typed), now);
    }
    void timerFires(std::uint32_t now) { follower.hintDue(now); }
    bool dueLit() const { return shell.shown.lightOf(*keyFor(false, due())).has_value(); }
    // Whether each keystroke so far was marked hinted, in the order typed.
    std::string hintedMarks() const {
        std::string marks;
        for (const TimedKeystroke& k : shell.keystrokes.keystrokes()) marks += k.hinted ? 'h' : '.';
        return marks;
    }

    FakeKnowledge knowledge;
    RecordingShell shell;
    GuideFollower follower {knowledge, shell};

private:
    unsigned char due() const { return static_cast<unsigned char>(text_.at(correct_)); }
    void follow(unsigned char typed, std::uint32_t now) {
        follower.follow({true, due(), correct_, errors_, typed}, false, now);
    }

    std::string text_;
    std::uint32_t correct_ = 0;
    std::uint32_t errors_ = 0;
};

constexpr KeyKnowledge kUnknown {};
constexpr KeyKnowledge kWeak {0.3, 900};
constexpr KeyKnowledge kHalfLearned {0.8, 400};  // waits clamp(2 × 400) = 800 ms
constexpr KeyKnowledge kLearned {1.0, 250};

struct HintCase {
    const char* name;
    KeyboardMode mode;
    KeyKnowledge knownS;  // of 's', the second key of "asd"
    // What happens while 's' is due, from 1000 ms on: 'w' a wrong key, 'p' a wait of 1 s (the
    // timer fires if armed), then 's' typed right, then 'd'.
    const char* onS;
    const char* marks;  // of every keystroke: 'a', those while 's' is due, 'd'
    bool litAfterWait;
};

TEST(GuideFollower, MarksTheKeystrokesMadeWhileTheGuideShowedTheKeyForAHesitationOrAMistyping) {
    const HintCase cases[] = {
        {"learned, typed straight", KeyboardMode::guide, kLearned, "", "...", false},
        {"learned, mistyped: the green key is read", KeyboardMode::guide, kLearned, "w", "..h.", false},
        {"learned, a long wait lights nothing", KeyboardMode::guide, kLearned, "p", "...", false},
        {"half learned, typed before the hint", KeyboardMode::guide, kHalfLearned, "", "...", false},
        {"half learned, lit after a hesitation", KeyboardMode::guide, kHalfLearned, "p", ".h.", true},
        {"half learned, mistyped twice after the hesitation", KeyboardMode::guide, kHalfLearned, "pww", ".hhh.", true},
        {"not yet known: lit at once, how the key is learned", KeyboardMode::guide, kUnknown, "p", "...", true},
        {"weak: lit at once", KeyboardMode::guide, kWeak, "", "...", false},
        {"weak, mistyped", KeyboardMode::guide, kWeak, "w", "..h.", false},
        {"always: lit at once, not hinted", KeyboardMode::always, kLearned, "p", "...", true},
        {"always, mistyped", KeyboardMode::always, kLearned, "w", "..h.", false},
        {"off: nothing shown, nothing marked", KeyboardMode::off, kHalfLearned, "wp", "....", false},
    };
    for (const HintCase& c : cases) {
        SCOPED_TRACE(c.name);
        Typist typist(c.mode, "asdf", {{'a', kLearned}, {'s', c.knownS}, {'d', kLearned}});
        typist.right(1000);
        std::uint32_t now = 1000;
        bool litAfterWait = false;
        for (const char* step = c.onS; *step != '\0'; ++step) {
            if (*step == 'w') {
                typist.wrong('w', now += 100);
            } else {
                now += 1000;
                if (typist.shell.timer) typist.timerFires(now);
                litAfterWait = typist.dueLit();
            }
        }
        typist.right(now += 100);
        typist.right(now += 100);
        EXPECT_EQ(typist.hintedMarks(), c.marks);
        EXPECT_EQ(litAfterWait, c.litAfterWait);
    }
}

TEST(GuideFollower, ArmsTheHintTimerForTheHesitationOfTheKeyDue) {
    Typist typist(KeyboardMode::guide, "asd", {{'a', kLearned}, {'s', kHalfLearned}, {'d', {0.7, 100}}});
    EXPECT_EQ(typist.shell.timer, std::nullopt) << "a learned key is never lit";
    typist.right(1000);
    EXPECT_EQ(typist.shell.timer, 800u) << "twice the median of 's'";
    typist.timerFires(1500);
    EXPECT_FALSE(typist.dueLit()) << "a timer that fires early shows nothing";
    EXPECT_EQ(typist.shell.marks, 0);
    typist.right(1600);
    EXPECT_EQ(typist.shell.timer, 600u) << "the shortest wait for a fast key";
    typist.follower.setMode(KeyboardMode::off);
    typist.follower.follow({true, 'd', 2, 0, 0}, false, 1700);
    EXPECT_EQ(typist.shell.timer, std::nullopt) << "no timer while the keyboard is off";
}

TEST(GuideFollower, ShowsEveryChangeOfPictureAndLayout) {
    Typist typist(KeyboardMode::always, "asd");
    const int before = typist.shell.pictures;
    EXPECT_TRUE(typist.dueLit());
    typist.follower.follow({true, 'a', 0, 0, 0}, false, 10);
    EXPECT_EQ(typist.shell.pictures, before) << "nothing changed: nothing drawn";
    typist.follower.follow({false, 'a', 0, 0, 0}, false, 20);
    EXPECT_EQ(typist.shell.shown.litCount, 0u) << "paused: nothing lit";
    EXPECT_EQ(typist.shell.pictures, before + 1);
    typist.follower.follow({false, 'a', 0, 0, 0}, true, 30);
    EXPECT_TRUE(typist.shell.shownRussian) << "the language switched: the other layout";
    EXPECT_EQ(typist.shell.pictures, before + 2);
}

}  // namespace
}  // namespace dactyla
