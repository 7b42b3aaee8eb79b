#include "course/course_view.h"

#include <gtest/gtest.h>

#include <string>

#include "course/course_mastery.h"
#include "platform/cp1251.h"

namespace dactyla {
namespace {

std::string utf8(const std::string& cp1251) { return platform::cp1251ToUtf8(cp1251); }

TEST(CourseView, TargetFieldsReadBackOrAreRefused) {
    const CourseTargets current {150, 30, 25};
    struct Case {
        const char* speed;
        const char* errors;
        std::optional<CourseTargets> expected;
    };
    const Case cases[] = {
        {"150", "3", CourseTargets {150, 30, 25}},
        {" 200 ", "2,5", CourseTargets {200, 25, 25}},
        {"30", "0.5", CourseTargets {30, 5, 25}},
        {"750", "15", CourseTargets {750, 150, 25}},
        {"29", "3", std::nullopt},
        {"751", "3", std::nullopt},
        {"150", "0,4", std::nullopt},
        {"150", "15,1", std::nullopt},
        {"150", "2,55", std::nullopt},
        {"", "3", std::nullopt},
        {"сто", "3", std::nullopt},
        {"150", "", std::nullopt},
        {"150", ",5", std::nullopt},
        {"-150", "3", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseTargetFields(c.speed, c.errors, current), c.expected) << c.speed << " / " << c.errors;
    for (const CourseTargets& t : {CourseTargets {150, 30, 20}, CourseTargets {212, 25, 20}})
        EXPECT_EQ(parseTargetFields(speedField(t), errorField(t), t), t);
    EXPECT_EQ(errorField({150, 25, 20}), "2,5");
}

TEST(CourseView, KeysAreColouredByMasteryAndTheFocusIsMarked) {
    EXPECT_EQ(masteryColour(std::nullopt), kNeutralKey);
    EXPECT_EQ(masteryColour(0.2), kWeakKey);
    EXPECT_EQ(masteryColour(1.0), kSureKey);
    const Rgb middle = masteryColour(0.8);
    EXPECT_NE(middle, kShakyKey);
    EXPECT_NE(middle, kSureKey);
    CourseState state;
    state.progress = {"fjdksl ", 'k'};
    KeyMastery mastery {};
    mastery['f'] = 1.0;
    const auto boxes = courseKeyBoxes(state, builtInCourse().english, mastery);
    ASSERT_EQ(boxes.size(), builtInCourse().english.characters().size());
    EXPECT_EQ(boxes[0].colour, kSureKey);
    EXPECT_EQ(boxes[1].colour, kNeutralKey);
    EXPECT_TRUE(boxes[3].focus);
    EXPECT_EQ(boxes[7].colour, kLockedKey);
    EXPECT_FALSE(boxes[7].unlocked);
}

TEST(CourseView, TheFocusTextSaysWhatIsKnown) {
    CourseState state;
    state.progress = {"fjdksl ", 'k'};
    EXPECT_EQ(utf8(focusText(state, {})), "Фокус: «k» — ещё мало замеров (нужно 20 чистых нажатий)");
    FocusFigures known;
    known.speed = 121.6;
    known.errorRate = 0.041;
    EXPECT_EQ(utf8(focusText(state, known)), "Фокус: «k» — 122 сим/мин при цели 150, ошибок 4.1 % при пределе 3.0 %");
    state.progress.focus.reset();
    EXPECT_EQ(utf8(focusText(state, known)), "Фокуса нет: все открытые клавиши близки к цели.");
    EXPECT_EQ(utf8(learnedText(state, builtInCourse().english)), "Открыто 7 из 73 клавиш.");
}

// A key typed steadily at 300 ms with no mistakes masters a target of 150 but not one of 250.
TEST(CourseMastery, FollowsTheCourseTargets) {
    KeyTiming steady;
    for (int k = 0; k < 40; ++k) {
        steady.latencies.push(300);
        steady.outcomes.push(false);
    }
    KeyTiming fresh;
    const auto timing = [&](unsigned char c) -> const KeyTiming& { return c == 'f' ? steady : fresh; };
    EXPECT_EQ(masteryOf(timing, {150, 30, 20})['f'], 1.0);
    EXPECT_LT(*masteryOf(timing, {250, 30, 20})['f'], 1.0);
    EXPECT_FALSE(masteryOf(timing, {150, 30, 20})['j']);
    EXPECT_FALSE(masteryOf(timing, {150, 30, 50})['f']) << "fewer samples than the order file asks";
    const FocusFigures figures = figuresOf(steady, {150, 30, 20});
    ASSERT_TRUE(figures.speed);
    EXPECT_DOUBLE_EQ(*figures.speed, 200.0);
    EXPECT_FALSE(figuresOf(fresh, {150, 30, 20}).speed);
}

}  // namespace
}  // namespace dactyla
