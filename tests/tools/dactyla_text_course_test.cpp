// dactyla-text course: its command line, the state it prints and the lines it feeds.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "course/course_files.h"
#include "platform/cp1251.h"
#include "platform/directory.h"
#include "platform/file.h"
#include "tools/dactyla_text/arguments.h"
#include "tools/dactyla_text/commands.h"
#include "support/tool_run.h"
#include "progress/key_statistics.h"

namespace dactyla::text_tool {
namespace {

using ::testing::HasSubstr;

TEST(DactylaTextCourseArguments, TakesProgramDirectoryUserALanguageAndLines) {
    auto parsed = parseArguments({"course", "dir", "Ann", "--lang", "en", "--lines", "5"});
    ASSERT_TRUE(parsed.arguments) << parsed.error;
    EXPECT_EQ(parsed.arguments->command, Command::course);
    EXPECT_EQ(parsed.arguments->lines, 5u);
    const std::vector<std::pair<std::vector<std::string>, std::string>> mistakes = {
        {{"course", "dir", "Ann"}, "course needs --lang ru or --lang en"},
        {{"course", "dir", "--lang", "ru"}, "course takes PROGRAM_DIR and USER"},
        {{"course", "dir", "Ann", "--lang", "ru", "--lines", "many"}, "--lines must be a number, not 'many'"},
        {{"course", "dir", "Ann", "--lang", "ru", "--csv"}, "--csv is for stats only"},
        {{"stats", "dir", "Ann", "--lang", "ru", "--lines", "2"}, "unknown option --lines for stats"},
    };
    for (const auto& [words, error] : mistakes) EXPECT_EQ(parseArguments(words).error, error);
}

class DactylaTextCourse : public testing::ToolRun {
protected:
    DactylaTextCourse() {
        makeUser();
        dir.write("TextData.Eng", "Sad lads ask dads for salads. Jack falls; flasks fall. Dad asks: all salads?\r\n");
    }
};

TEST_F(DactylaTextCourse, PrintsAFreshCourseWithoutWritingAnything) {
    ASSERT_EQ(run({"course", dir.path(), "Ann", "--lang", "en"}), kSuccess) << err.str();
    EXPECT_EQ(out.str(), "unlocked fjdksl \nfocus s\nf -\nj -\nd -\nk -\ns -\nl -\nspace -\n");
    EXPECT_THAT(err.str(), HasSubstr("Course.txt")) << "no order file beside the program is said";
    EXPECT_FALSE(platform::fileExists(courseStatePath(dir.file("Users/Ann"), false)));
}

TEST_F(DactylaTextCourse, PrintsTheStoredStateAndItsLines) {
    CourseState state;
    state.progress.unlocked = "fjdksl ag";
    state.progress.focus = 'g';
    ASSERT_TRUE(saveCourseState(courseStatePath(dir.file("Users/Ann"), false), state));
    ASSERT_EQ(run({"course", dir.path(), "Ann", "--lang", "en"}), kSuccess) << err.str();
    EXPECT_THAT(out.str(), HasSubstr("unlocked fjdksl ag\nfocus g\n"));
    ASSERT_EQ(run({"course", dir.path(), "Ann", "--lang", "en", "--lines", "4"}), kSuccess) << err.str();
    std::istringstream lines(out.str());
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        EXPECT_EQ(line.back(), ' ');
        EXPECT_NE(line.find('g'), std::string::npos) << line;
        EXPECT_EQ(line.find_first_not_of("fjdksl ag"), std::string::npos) << line;
    }
    EXPECT_EQ(count, 4);
}

// Clean presses of `key` at `latencyMs`, as a stored session leaves them.
void typeInto(KeyStatistics& statistics, unsigned char key, int presses, std::uint32_t latencyMs) {
    const TimedKeystroke press {.expected = key, .correct = true, .timed = true, .latencyMs = latencyMs};
    const std::vector<TimedKeystroke> keystrokes(static_cast<std::size_t>(presses), press);
    for (int k = 0; k < presses; ++k) statistics.counts.countCorrect(key);
    statistics.timing.addSession(keystrokes);
}

TEST_F(DactylaTextCourse, PrintsTheMasteryOfTheStoredTimings) {
    KeyStatistics statistics;
    for (unsigned char key : {'f', 'j', 'd', 'k'}) typeInto(statistics, key, 40, 300);
    typeInto(statistics, 's', 19, 300);  // one sample short of known
    typeInto(statistics, 'l', 40, 800);  // half the target speed
    typeInto(statistics, 0xE0, 40, 300);  // a Russian letter: not a key of this course
    std::string bytes = encodeKeyStatistics(statistics);
    dir.write("Users/Ann/Keys - Eng.dat", bytes);
    ASSERT_EQ(run({"course", dir.path(), "Ann", "--lang", "en"}), kSuccess) << err.str();
    EXPECT_THAT(out.str(), HasSubstr("\nf 1.00\nj 1.00\nd 1.00\nk 1.00\ns -\nl 0.50\nspace -\n"));
    dir.write("Users/Ann/Keys - Eng.dat", bytes.substr(1));
    ASSERT_EQ(run({"course", dir.path(), "Ann", "--lang", "en"}), kSuccess) << err.str();
    EXPECT_THAT(out.str(), HasSubstr("\nf -\nj -\n")) << "a damaged file: no timings";
    EXPECT_EQ(dir.read("Users/Ann/Keys - Eng.dat"), bytes.substr(1)) << "and left as it was";
}

TEST_F(DactylaTextCourse, RefusesAUserThatIsNotThere) {
    EXPECT_EQ(run({"course", dir.path(), "Boris", "--lang", "en"}), kBadInput);
    EXPECT_THAT(err.str(), HasSubstr("no user directory"));
    EXPECT_EQ(run({"course", dir.path(), "..", "--lang", "en"}), kBadInput);
}

}  // namespace
}  // namespace dactyla::text_tool
