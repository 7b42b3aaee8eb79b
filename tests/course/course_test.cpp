#include "course/course.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "platform/cp1251.h"
#include "platform/file.h"
#include "support/temp_dir.h"

namespace dactyla {
namespace {

using testing::TempDir;

std::string cp(const std::string& utf8) { return platform::utf8ToCp1251(utf8); }
std::string utf8(const std::string& cp1251) { return platform::cp1251ToUtf8(cp1251); }

class FakeHost : public CourseHost {
public:
    FakeHost() {
        std::string source;
        for (const char* w : {"дол", "вол", "лов", "вода", "дыла", "олово", "воды", "двадцать", "фол", "жало",
                              "ложа", "дожди", "вдова", "лава", "ода", "ладо", "долы", "волы", "овал", "фыва"})
            source += cp(w) + " ";
        text_ = std::make_shared<const CourseText>(CourseText::build(source + source, true));
    }
    KeyMastery mastery(const CourseTargets& targets) override {
        lastTargets = targets;
        return masteryNow;
    }
    FocusFigures figures(unsigned char key, const CourseTargets&) override {
        FocusFigures f;
        f.mastery = masteryNow[key];
        if (known) {
            f.speed = 132.4;
            f.errorRate = 0.025;
        }
        return f;
    }
    std::shared_ptr<const CourseText> text() override { return text_; }
    void tell(const std::string& text) override { told.push_back(utf8(text)); }
    std::uint32_t tickCount() override { return ++tick; }
    void changed() override { ++changes; }
    int changes = 0;

    KeyMastery masteryNow {};
    CourseTargets lastTargets;
    bool known = false;
    std::vector<std::string> told;
    std::uint32_t tick = 0;

private:
    std::shared_ptr<const CourseText> text_;
};

class CourseOfAUser : public ::testing::Test {
protected:
    Course make() {
        Course course(host, builtInCourse(), dir.path(), true, options);
        course.load();
        return course;
    }
    void masterAll(const std::string& keys, double value = 1.2) {
        for (char c : keys) host.masteryNow[static_cast<unsigned char>(c)] = value;
    }

    TempDir dir;
    FakeHost host;
    Options options;
};

TEST_F(CourseOfAUser, AFreshCourseFeedsFirstLessonLinesAndKeepsItsState) {
    Course course = make();
    EXPECT_TRUE(host.told.empty());
    EXPECT_EQ(course.state().progress.unlocked, cp("аовлыд "));
    EXPECT_FALSE(platform::fileExists(courseStatePath(dir.path(), true))) << "written at its first change";
    ASSERT_TRUE(course.hasLines());
    std::array<char, kLineSourceRoom> line {};
    const std::uint16_t length = course.nextLine(line.data());
    ASSERT_GT(length, 0u);
    for (std::uint16_t k = 0; k < length; ++k) EXPECT_NE(cp("аовлыд ").find(line[k]), std::string::npos);
}

TEST_F(CourseOfAUser, MasteringEveryKeyUnlocksTheNextAtALineEndAndARestartGoesOn) {
    Course course = make();
    EXPECT_FALSE(course.lineTyped()) << "nothing known yet";
    masterAll(cp("аовлыд "));
    EXPECT_TRUE(course.lineTyped());
    EXPECT_EQ(course.state().progress.unlocked, cp("аовлыд ф"));
    EXPECT_EQ(course.justUnlocked(), static_cast<unsigned char>(cp("ф")[0]));
    EXPECT_EQ(utf8(course.statusLine()), "Курс: 8 из 84 клавиш · новая клавиша «ф»!");
    std::array<char, kLineSourceRoom> line {};
    const std::string text(line.data(), course.nextLine(line.data()));
    EXPECT_NE(text.find(cp("ф")), std::string::npos) << "the new letter appears";

    Course again = make();
    EXPECT_EQ(again.state(), course.state());
    EXPECT_FALSE(again.lineTyped()) << "the new key is not known yet";
    EXPECT_EQ(again.state().progress.unlocked, cp("аовлыд ф"));
    EXPECT_EQ(utf8(again.statusLine()), "Курс: 8 из 84 клавиш · фокус «ф» — ещё мало замеров");
    host.known = true;
    EXPECT_EQ(utf8(again.statusLine()), "Курс: 8 из 84 клавиш · фокус «ф» 132 сим/мин, 2.5 % ошибок");
}

TEST_F(CourseOfAUser, TargetsSkipAndStartAgainAreKeptAndMasteryIsAskedAgainstTheTargets) {
    Course course = make();
    course.setTargets({200, 20, 20});
    course.lineTyped();
    EXPECT_EQ(host.lastTargets.targetSpeed, 200u);
    ASSERT_TRUE(course.skipTo(static_cast<unsigned char>(cp("е")[0])));
    EXPECT_EQ(course.state().progress.unlocked, cp("аовлыд фжэпркге"));
    EXPECT_EQ(make().state(), course.state());
    course.startAgain();
    EXPECT_EQ(course.state().progress.unlocked, cp("аовлыд "));
    EXPECT_EQ(make().state().targets.targetSpeed, 200u) << "starting again keeps the targets";
}

TEST_F(CourseOfAUser, ADamagedStateIsSetAsideSaidAndTheCourseStartsAgain) {
    dir.write("Course - Rus.dat", "DactCors broken");
    Course course = make();
    ASSERT_EQ(host.told.size(), 1u);
    EXPECT_EQ(host.told[0], "Файл курса «Course - Rus.dat» повреждён и отложен в сторону.\nКурс начинается заново.");
    EXPECT_EQ(dir.read("Course - Rus.dat.damaged"), "DactCors broken");
    EXPECT_EQ(course.state().progress.unlocked, cp("аовлыд "));
}

TEST_F(CourseOfAUser, AFinishedSessionGoesToTheCourseLog) {
    Course course = make();
    SessionSummary summary;
    summary.minutes = 1;
    summary.seconds = 7;
    summary.speed = 140;
    summary.errorPercent = 2.5f;
    course.sessionFinished(summary);
    const auto log = parseCourseLog(dir.read("Course log - Rus.txt"));
    ASSERT_TRUE(log);
    ASSERT_EQ(log->size(), 1u);
    EXPECT_EQ((*log)[0].speed, 140u);
    EXPECT_EQ((*log)[0].unlockedKeys, 7u);
    EXPECT_EQ((*log)[0].focus, course.state().progress.focus.value_or(0));
    dir.write("Course log - Rus.txt", "torn");
    course.sessionFinished(summary);
    ASSERT_EQ(host.told.size(), 1u);
    EXPECT_NE(host.told[0].find("Журнал курса «Course log - Rus.txt» повреждён"), std::string::npos);
}

TEST(CourseTextCache, BuildsOnceAndAgainWhenTheTextGrew) {
    TempDir dir;
    dir.write("TextData.Eng", "salad lads ask dads. ");
    CourseTextCache cache;
    const auto first = cache.get(dir.file("TextData.Eng"), false);
    ASSERT_TRUE(first);
    EXPECT_EQ(cache.get(dir.file("TextData.Eng"), false), first);
    dir.write("TextData.Eng", "salad lads ask dads. Flasks fall. ");
    const auto grown = cache.get(dir.file("TextData.Eng"), false);
    EXPECT_NE(grown, first);
    EXPECT_EQ(grown->words().size(), 6u);
    EXPECT_FALSE(cache.get(dir.file("missing"), false));
}

}  // namespace
}  // namespace dactyla
