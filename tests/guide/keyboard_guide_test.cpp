#include "guide/keyboard_guide.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>
#include <string>

#include "guide/finger_names.h"
#include "platform/cp1251.h"
#include "known_keys.h"

namespace dactyla {
namespace {

unsigned char cp1251(const char* utf8) {
    const std::string bytes = platform::utf8ToCp1251(utf8);
    return static_cast<unsigned char>(bytes.at(0));
}

using testing::FakeKnowledge;

// A session typing through one text, keystroke by keystroke, at times the test chooses.
class Session {
public:
    Session(KeyboardMode mode, bool russian, const std::string& textUtf8) : text_(platform::utf8ToCp1251(textUtf8)) {
        guide.setMode(mode);
        guide.setLayout(russian);
    }
    void start(std::uint32_t now) { follow(0, now); }
    void typeRight(std::uint32_t now) {
        ++correct_;
        follow(0, now);
    }
    void typeWrong(const char* typedUtf8, std::uint32_t now) {
        ++errors_;
        follow(cp1251(typedUtf8), now);
    }
    void pause(std::uint32_t now) {
        typing_ = false;
        follow(0, now);
        typing_ = true;
    }
    const KeyPlace& dueKey() const { return *keyFor(guide.russian(), expected()); }
    std::optional<KeyLight> lightOfDue() const { return guide.picture().lightOf(dueKey()); }

    FakeKnowledge knowledge;
    KeyboardGuide guide {knowledge};

private:
    unsigned char expected() const { return static_cast<unsigned char>(text_.at(correct_)); }
    void follow(unsigned char typed, std::uint32_t now) {
        guide.follow({typing_, expected(), correct_, errors_, typed}, now);
    }
    std::string text_;
    bool typing_ = true;
    std::uint32_t correct_ = 0;
    std::uint32_t errors_ = 0;
};

struct HintCase {
    const char* name;
    KeyboardMode mode;
    std::optional<double> mastery;
    std::optional<std::uint32_t> medianMs;
    std::optional<std::uint32_t> litAfterMs;  // none: not lit even a minute later
};

TEST(KeyboardGuide, LightsTheNextKeyAtOnceAfterAHesitationOrNeverByModeAndMastery) {
    const HintCase cases[] = {
        {"off", KeyboardMode::off, std::nullopt, std::nullopt, std::nullopt},
        {"always, not yet known", KeyboardMode::always, std::nullopt, std::nullopt, 0},
        {"always, learned", KeyboardMode::always, 1.4, 150, 0},
        {"guide, not yet known", KeyboardMode::guide, std::nullopt, std::nullopt, 0},
        {"guide, weak", KeyboardMode::guide, 0.49, 300, 0},
        {"guide, half learned: twice the median", KeyboardMode::guide, 0.5, 400, 800},
        {"guide, fast but shaky: at least 600 ms", KeyboardMode::guide, 0.9, 100, 600},
        {"guide, slow: at most 2000 ms", KeyboardMode::guide, 0.99, 1500, 2000},
        {"guide, no median: the longest wait", KeyboardMode::guide, 0.7, std::nullopt, 2000},
        {"guide, learned", KeyboardMode::guide, 1.0, 200, std::nullopt},
        {"guide, well learned", KeyboardMode::guide, 3.0, 90, std::nullopt},
    };
    constexpr std::uint32_t kStart = 5000;
    for (const HintCase& c : cases) {
        SCOPED_TRACE(c.name);
        Session session(c.mode, true, "ааа");
        session.knowledge.keys[cp1251("а")] = {c.mastery, c.medianMs};
        session.start(kStart);
        if (!c.litAfterMs) {
            EXPECT_FALSE(session.guide.tick(kStart + 60000));
            EXPECT_EQ(session.guide.picture().litCount, 0u);
            EXPECT_FALSE(session.guide.msUntilHint(kStart).has_value());
            EXPECT_FALSE(session.guide.dueKeyLit());
            continue;
        }
        if (*c.litAfterMs > 0) {
            EXPECT_EQ(session.guide.msUntilHint(kStart + 100), *c.litAfterMs - 100);
            EXPECT_FALSE(session.guide.tick(kStart + *c.litAfterMs - 1));
            EXPECT_FALSE(session.lightOfDue().has_value());
            EXPECT_FALSE(session.guide.dueKeyLit()) << "a press before the hint is not hinted";
            EXPECT_TRUE(session.guide.tick(kStart + *c.litAfterMs));
        }
        EXPECT_EQ(session.lightOfDue(), KeyLight::finger);
        EXPECT_EQ(session.guide.picture().litCount, 1u) << "a small letter needs no Shift";
        EXPECT_TRUE(session.guide.dueKeyLit());
        EXPECT_FALSE(session.guide.msUntilHint(kStart + *c.litAfterMs).has_value());
    }
}

TEST(KeyboardGuide, TheHesitationIsTimedFromWhenTheKeyBecameDueAndAPauseStartsItAgain) {
    Session session(KeyboardMode::guide, false, "fff");
    session.knowledge.keys['f'] = {0.8, 500};  // lit after 1000 ms
    session.start(0xFFFFFE00u);                // the tick count wraps on the way
    EXPECT_FALSE(session.guide.tick(0xFFFFFE00u + 999));
    session.pause(0xFFFFFE00u + 999);
    EXPECT_EQ(session.guide.picture().litCount, 0u) << "nothing is lit while paused";
    session.start(300);  // resumed: due again from here
    EXPECT_FALSE(session.guide.tick(1299));
    EXPECT_TRUE(session.guide.tick(1300));
    session.typeRight(1400);
    EXPECT_FALSE(session.lightOfDue().has_value()) << "the next key waits its own hesitation";
    EXPECT_EQ(session.guide.msUntilHint(1400), 1000u);
    // A keystroke handled after the wait lights the key too, without a timer.
    session.typeWrong("j", 1500);
    EXPECT_EQ(session.lightOfDue(), KeyLight::expected);
}

TEST(KeyboardGuide, AWrongKeyShowsTheExpectedGreenThePressedRedAndNamesTheFingerUntilTheNextRightOne) {
    for (const KeyboardMode mode : {KeyboardMode::always, KeyboardMode::guide}) {
        Session session(mode, true, "оа");
        session.knowledge.keys[cp1251("о")] = {2.0, 150};  // learned: not lit in guide mode
        session.start(0);
        session.typeWrong("л", 100);
        const KeyboardPicture& picture = session.guide.picture();
        EXPECT_EQ(picture.lightOf(*keyFor(true, cp1251("о"))), KeyLight::expected);
        EXPECT_EQ(picture.lightOf(*keyFor(true, cp1251("л"))), KeyLight::pressed);
        EXPECT_EQ(picture.litCount, 2u);
        EXPECT_EQ(fingerLine(picture), platform::utf8ToCp1251("правый указательный"));
        EXPECT_TRUE(session.guide.dueKeyLit()) << "the next press reads the green key";
        session.typeWrong("q", 200);  // not on the Russian layout: only the expected key shows
        EXPECT_EQ(session.guide.picture().litCount, 1u);
        EXPECT_FALSE(fingerLine(session.guide.picture()).empty());
        session.typeRight(300);
        EXPECT_TRUE(fingerLine(session.guide.picture()).empty());
        EXPECT_EQ(session.lightOfDue(), KeyLight::finger) << "'а' is not yet known";
        EXPECT_FALSE(session.guide.picture().lightOf(*keyFor(true, cp1251("о"))).has_value());
    }
    Session off(KeyboardMode::off, true, "оа");
    off.start(0);
    off.typeWrong("л", 100);
    EXPECT_EQ(off.guide.picture().litCount, 0u);
    EXPECT_FALSE(off.guide.dueKeyLit());
}

TEST(KeyboardGuide, ChangingModeOrLayoutRedrawsTheKeyThatIsDue) {
    Session session(KeyboardMode::off, false, "e");
    session.start(0);
    EXPECT_EQ(session.guide.picture().litCount, 0u);
    session.guide.setMode(KeyboardMode::always);
    EXPECT_EQ(session.lightOfDue(), KeyLight::finger);
    session.guide.setLayout(true);
    EXPECT_EQ(session.guide.picture().litCount, 0u) << "'e' is not on ЙЦУКЕН";
    session.guide.setLayout(false);
    session.guide.setMode(KeyboardMode::off);
    EXPECT_EQ(session.guide.picture().litCount, 0u);
    EXPECT_EQ(nextKeyboardMode(KeyboardMode::off), KeyboardMode::always);
    EXPECT_EQ(nextKeyboardMode(KeyboardMode::always), KeyboardMode::guide);
    EXPECT_EQ(nextKeyboardMode(KeyboardMode::guide), KeyboardMode::off);
}

struct CapitalCase {
    bool russian;
    const char* character;
    std::optional<bool> leftShift;  // none: no Shift
};

TEST(KeyboardGuide, ACapitalLightsTheShiftOfTheOtherHand) {
    const CapitalCase cases[] = {
        {true, "А", false},  {true, "О", true},  {true, "Й", false}, {true, "Э", true},  {true, "Ё", false},
        {true, "Ъ", true},   {true, ",", true},  {true, "!", false}, {true, "№", false}, {true, "Ж", true},
        {true, "а", {}},     {true, ".", {}},    {true, "5", {}},    {true, " ", {}},    {false, "A", false},
        {false, "P", true},  {false, "?", true}, {false, ":", true}, {false, "~", false}, {false, "T", false},
        {false, "Y", true},  {false, "^", true}, {false, "a", {}},   {false, ";", {}},   {false, "/", {}},
    };
    for (const CapitalCase& c : cases) {
        SCOPED_TRACE(c.character);
        Session session(KeyboardMode::always, c.russian, c.character);
        session.start(0);
        const KeyboardPicture& picture = session.guide.picture();
        EXPECT_EQ(session.lightOfDue(), KeyLight::finger);
        EXPECT_EQ(picture.litCount, c.leftShift ? 2u : 1u);
        EXPECT_EQ(picture.lightOf(shiftKey(true)).has_value(), c.leftShift == true);
        EXPECT_EQ(picture.lightOf(shiftKey(false)).has_value(), c.leftShift == false);
        session.typeWrong("1", 10);  // the Shift's finger is named too
        EXPECT_EQ(session.guide.picture().namedShiftFinger.has_value(), c.leftShift.has_value());
        if (c.leftShift) {
            const char* shiftFinger = *c.leftShift ? ", Shift - левый мизинец" : ", Shift - правый мизинец";
            EXPECT_NE(fingerLine(session.guide.picture()).find(platform::utf8ToCp1251(shiftFinger)), std::string::npos);
        }
    }
    // The right key without its Shift: the key and the Shift stay green, nothing is red.
    Session session(KeyboardMode::always, true, "Ф");
    session.start(0);
    session.typeWrong("ф", 10);
    EXPECT_EQ(session.lightOfDue(), KeyLight::expected);
    EXPECT_EQ(session.guide.picture().lightOf(shiftKey(false)), KeyLight::expected);
    EXPECT_EQ(session.guide.picture().litCount, 2u);
    EXPECT_EQ(fingerLine(session.guide.picture()), platform::utf8ToCp1251("левый мизинец, Shift - правый мизинец"));
}

TEST(FingerNames, EveryKeyOfBothLayoutsNamesItsFinger) {
    const std::map<std::string, const char*> fingers[] = {
        {{"ё1йфя", "левый мизинец"},
         {"2цыч", "левый безымянный"},
         {"3увс", "левый средний"},
         {"45кеапми", "левый указательный"},
         {"67нгроть", "правый указательный"},
         {"8шлб", "правый средний"},
         {"9щдю", "правый безымянный"},
         {"0-=зхъ\\жэ.", "правый мизинец"},
         {" ", "большой палец"}},
        {{"`1qaz", "левый мизинец"},
         {"2wsx", "левый безымянный"},
         {"3edc", "левый средний"},
         {"45rtfgvb", "левый указательный"},
         {"67yuhjnm", "правый указательный"},
         {"8ik,", "правый средний"},
         {"9ol.", "правый безымянный"},
         {"0-=p[]\\;'/", "правый мизинец"},
         {" ", "большой палец"}},
    };
    for (const bool russian : {true, false}) {
        std::size_t named = 0;
        for (const auto& [keys, finger] : fingers[russian ? 0 : 1]) {
            for (const char byte : platform::utf8ToCp1251(keys)) {
                const KeyPlace* key = keyFor(russian, static_cast<unsigned char>(byte));
                ASSERT_NE(key, nullptr) << keys;
                ++named;
                // Named as the line under the keyboard names it after a wrong key.
                Session session(KeyboardMode::guide, russian, platform::cp1251ToUtf8(std::string(1, byte)));
                session.start(0);
                session.typeWrong(byte == '1' ? "2" : "1", 10);
                EXPECT_EQ(platform::cp1251ToUtf8(fingerLine(session.guide.picture())), finger)
                    << platform::cp1251ToUtf8(std::string(1, byte));
            }
        }
        EXPECT_EQ(named, keyboardLayout(russian).size()) << "every key, each once";
    }
    EXPECT_EQ(platform::cp1251ToUtf8(fingerName(Finger::leftPinky)), "левый мизинец");
    EXPECT_EQ(platform::cp1251ToUtf8(fingerName(Finger::rightIndex)), "правый указательный");
}

TEST(KeyboardLayout, HomeMarksSitOnTheIndexFingersHomeKeysAndTheShiftsAtTheRowsEnds) {
    for (const bool russian : {true, false}) {
        std::string marked;
        for (const KeyPlace& key : keyboardLayout(russian))
            if (key.homeMark) marked += key.bytes[0];
        EXPECT_EQ(platform::cp1251ToUtf8(marked), russian ? "ао" : "fj");
    }
    EXPECT_EQ(shiftKey(true).finger, Finger::leftPinky);
    EXPECT_EQ(shiftKey(false).finger, Finger::rightPinky);
    EXPECT_DOUBLE_EQ(shiftKey(false).left + shiftKey(false).width, kKeyboardWidthInKeys);
    EXPECT_LE(shiftKey(true).left + shiftKey(true).width, keyFor(false, 'z')->left);
    EXPECT_GE(shiftKey(false).left, keyFor(false, '/')->left + 1);
}

TEST(KeyboardColours, EightSoftFingerZonesEachWithAStrongerLitTintAndGreenAndRedApart) {
    std::set<std::tuple<int, int, int>> soft;
    for (std::size_t k = 0; k < kFingerCount; ++k) {
        const auto finger = static_cast<Finger>(k);
        const Rgb zone = softFingerColour(finger);
        const Rgb lit = fingerColour(finger, KeyLight::finger);
        soft.insert({zone.red, zone.green, zone.blue});
        // Soft: light enough for dark legends; lit: clearly darker than its zone.
        EXPECT_GT(zone.red + zone.green + zone.blue, 3 * 190) << k;
        EXPECT_LT(lit.red + lit.green + lit.blue + 120, zone.red + zone.green + zone.blue) << k;
    }
    EXPECT_EQ(soft.size(), kFingerCount);
    for (const Finger finger : {Finger::leftPinky, Finger::rightIndex, Finger::thumb}) {
        EXPECT_EQ(fingerColour(finger, KeyLight::expected), kExpectedKeyColour);
        EXPECT_EQ(fingerColour(finger, KeyLight::pressed), kPressedKeyColour);
    }
    EXPECT_GT(kExpectedKeyColour.green, kExpectedKeyColour.red);
    EXPECT_GT(kPressedKeyColour.red, kPressedKeyColour.green);
}

}  // namespace
}  // namespace dactyla
