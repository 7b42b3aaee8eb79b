#include "course/course_rules.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

namespace dactyla {
namespace {

KeyOrder smallOrder() { return KeyOrder {{"fjdksl ", "a", "g", "h"}}; }

CharacterCounts englishCounts() {
    CharacterCounts counts {};
    const std::pair<char, std::uint64_t> table[] = {{' ', 900}, {'e', 500}, {'a', 400}, {'s', 300}, {'l', 200},
                                                    {'d', 190}, {'f', 100}, {'g', 90},  {'k', 50},  {'j', 5},
                                                    {'h', 300}};
    for (auto [c, n] : table) counts[static_cast<unsigned char>(c)] = n;
    return counts;
}

// Every key of the first lesson, the space among them, at `value`.
KeyMastery allAt(double value, const std::string& keys = "fjdksl a") {
    KeyMastery m {};
    for (char c : keys) m[static_cast<unsigned char>(c)] = value;
    return m;
}

KeyMastery with(KeyMastery m, char key, std::optional<double> value) {
    m[static_cast<unsigned char>(key)] = value;
    return m;
}

// One check at a line's end, from a state to the next.
TEST(CourseRules, UnlockAndFocusTable) {
    struct Case {
        const char* name;
        CourseProgress before;
        KeyMastery mastery;
        CourseProgress after;
        bool unlocks;
    };
    const std::string first = "fjdksl ";
    const std::string withA = first + "a";
    const Case cases[] = {
        {"a fresh course starts on the first lesson, its most frequent letter in focus",
         {}, KeyMastery {}, {first, 's'}, false},
        {"the newest key keeps the focus while not yet known", {withA, 'a'}, with(allAt(1.2), 'a', std::nullopt),
         {withA, 'a'}, false},
        {"the newest key keeps the focus just under 1", {withA, 'a'}, with(allAt(1.2), 'a', 0.99), {withA, 'a'}, false},
        {"all mastered: the next key is unlocked and takes the focus", {withA, 'a'}, allAt(1.0),
         {withA + "g", 'g'}, true},
        {"the focus mastered, a key below 0.9 takes it", {withA, 'a'}, with(allAt(1.1), 'd', 0.85), {withA, 'd'}, false},
        {"a key between 0.9 and 1 is left alone and holds the unlock back", {withA, 'a'}, with(allAt(1.1), 'd', 0.95),
         {withA, std::nullopt}, false},
        {"a focus chosen below 0.9 keeps it until 1", {withA, 'd'}, with(allAt(1.1), 'd', 0.93), {withA, 'd'}, false},
        {"count times (1 - mastery) picks the focus: frequent and weak before rare and weaker",
         {withA, 'a'}, with(with(allAt(1.1), 's', 0.8), 'j', 0.1), {withA, 's'}, false},
        {"an unlocked key not yet known counts as 0", {withA, std::nullopt}, with(allAt(1.1), 'k', std::nullopt),
         {withA, 'k'}, false},
        {"keys falling back are never locked again", {withA + "g", 'g'}, allAt(0.0, ""), {withA + "g", 'g'}, false},
        {"the space is never the focus", {withA, 'a'}, with(allAt(1.1), ' ', 0.2), {withA, std::nullopt}, false},
        {"the whole order unlocked and mastered: nothing more to unlock", {withA + "gh", 'h'}, allAt(1.0, "fjdksl agh"),
         {withA + "gh", std::nullopt}, false},
        {"the space not yet mastered holds the unlock back", {withA, 'a'}, with(allAt(1.0), ' ', 0.95),
         {withA, std::nullopt}, false},
    };
    for (const Case& c : cases) {
        CourseProgress progress = c.before;
        const bool unlocked = checkProgress(progress, smallOrder(), c.mastery, englishCounts());
        EXPECT_EQ(unlocked, c.unlocks) << c.name;
        EXPECT_EQ(progress.unlocked, c.after.unlocked) << c.name;
        EXPECT_EQ(progress.focus, c.after.focus) << c.name;
    }
}

TEST(CourseRules, NoBackAndForthBetweenTwoKeysNearTheTarget) {
    CourseProgress progress {"fjdksl a", 'a'};
    // 'a' just reached 1 while 'd' sits in the gap: nobody takes the focus.
    checkProgress(progress, smallOrder(), with(allAt(1.0), 'd', 0.95), englishCounts());
    EXPECT_FALSE(progress.focus);
    // 'a' slips into the gap too: still nobody, the keys are practised in every line.
    checkProgress(progress, smallOrder(), with(with(allAt(1.0), 'd', 0.95), 'a', 0.92), englishCounts());
    EXPECT_FALSE(progress.focus);
    EXPECT_EQ(progress.unlocked, "fjdksl a");
}

TEST(CourseRules, SkipUnlocksEveryStepUpToTheKeyAndNeverBack) {
    CourseProgress progress {"fjdksl ", 'f'};
    EXPECT_TRUE(skipTo(progress, smallOrder(), 'g'));
    EXPECT_EQ(progress.unlocked, "fjdksl ag");
    EXPECT_EQ(progress.focus, 'g');
    EXPECT_EQ(lockedKeys(progress, smallOrder()), "h");
    EXPECT_FALSE(skipTo(progress, smallOrder(), 'a')) << "already unlocked";
    EXPECT_FALSE(skipTo(progress, smallOrder(), 'z')) << "not in the order";
    EXPECT_EQ(progress.unlocked, "fjdksl ag");
}

TEST(CourseRules, AnEditedOrderWithKeysAlreadyUnlockedGoesOnToTheFirstNewOne) {
    CourseProgress progress {"fjdksl ga", 'a'};  // unlocked under an older order
    EXPECT_TRUE(checkProgress(progress, smallOrder(), allAt(1.0, "fjdksl ag"), englishCounts()));
    EXPECT_EQ(progress.unlocked, "fjdksl gah");
    EXPECT_EQ(progress.focus, 'h');
}

}  // namespace
}  // namespace dactyla
