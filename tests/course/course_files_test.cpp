#include "base/whole_file.h"
#include "course/course_files.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/file.h"
#include "support/temp_dir.h"

namespace dactyla {
namespace {

using testing::TempDir;

CourseState sampleState() {
    CourseState s;
    s.progress.unlocked = std::string("\xE0\xEE\xE2\xEB\xFB\xE4 \xF4");
    s.progress.focus = 0xF4;
    s.targets.targetSpeed = 180;
    s.targets.errorLimitTenths = 25;
    return s;
}

TEST(CourseStateFile, RoundTripsAndKnowsItsLayout) {
    const std::string bytes = encodeCourseState(sampleState());
    EXPECT_EQ(bytes.size(), 18u + 8u + 4u);
    EXPECT_EQ(bytes.substr(0, 8), "DactCors");
    EXPECT_EQ(decodeCourseState(bytes), sampleState());
    CourseState fresh;
    EXPECT_EQ(decodeCourseState(encodeCourseState(fresh)), fresh) << "nothing unlocked, no focus";
}

TEST(CourseStateFile, EveryDamageIsFound) {
    const std::string good = encodeCourseState(sampleState());
    std::vector<std::string> damaged = {"", good.substr(0, 10), good.substr(0, good.size() - 1), good + "x"};
    for (std::size_t k = 0; k < good.size(); ++k) {
        std::string flipped = good;
        flipped[k] = static_cast<char>(flipped[k] ^ 0x10);
        damaged.push_back(flipped);
    }
    for (const std::string& bytes : damaged) EXPECT_FALSE(decodeCourseState(bytes)) << bytes.size();
    // Sound checksums over unsound contents: a doubled key, a focus not unlocked, targets out of range.
    CourseState doubled = sampleState();
    doubled.progress.unlocked += '\xE0';
    CourseState foreignFocus = sampleState();
    foreignFocus.progress.focus = 'z';
    CourseState slow = sampleState();
    slow.targets.targetSpeed = 5;
    for (const CourseState& s : {doubled, foreignFocus, slow}) EXPECT_FALSE(decodeCourseState(encodeCourseState(s)));
}

TEST(CourseStateFile, IsWrittenThroughATemporaryFileAndADamagedOneIsSetAside) {
    TempDir dir;
    const std::string path = courseStatePath(dir.path(), true);
    EXPECT_EQ(loadCourseState(path).state, StoredFileState::missing);
    ASSERT_TRUE(saveCourseState(path, sampleState()));
    EXPECT_FALSE(platform::fileExists(path + ".new"));
    LoadedCourseState loaded = loadCourseState(path);
    EXPECT_EQ(loaded.state, StoredFileState::valid);
    EXPECT_EQ(loaded.course, sampleState());
    dir.write("Course - Rus.dat", "garbage");
    EXPECT_EQ(loadCourseState(path).state, StoredFileState::damaged);
    ASSERT_TRUE(setFileAside(path));
    EXPECT_EQ(dir.read("Course - Rus.dat.damaged"), "garbage");
    EXPECT_FALSE(platform::fileExists(path));
    EXPECT_FALSE(saveCourseState(dir.file("no such folder") + "/x.dat", sampleState()));
}

TEST(CourseLog, LinesRoundTripAndAnythingElseIsDamaged) {
    const CourseLogEntry a {{2026, 12, 9}, 152, 1.5f, 3, 5, 12, 0xF4};
    const CourseLogEntry b {{2027, 1, 31}, 0, 0.0f, 0, 59, 7, 0};
    const std::string bytes = encodeCourseLog({a, b});
    EXPECT_EQ(bytes, "Dactyla course log 1\r\n2026-12-09\t152\t1.5\t3:05\t12\t\xF4\r\n2027-01-31\t0\t0.0\t0:59\t7\t-\r\n");
    const auto parsed = parseCourseLog(bytes);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed, (std::vector<CourseLogEntry> {a, b}));
    EXPECT_TRUE(parseCourseLog("Dactyla course log 1\r\n"));
    for (const char* bad : {"", "Dactyla course log 2\r\n", "Dactyla course log 1\n",
                            "Dactyla course log 1\r\n2026-12-09\t152\t1.5\t3:05\t12\r\n",
                            "Dactyla course log 1\r\n2026-13-09\t152\t1.5\t3:05\t12\tx\r\n",
                            "Dactyla course log 1\r\n2026-12-09\t152\t1,5\t3:05\t12\tx\r\n",
                            "Dactyla course log 1\r\n2026-12-09\t152\t1.5\t3:5\t12\tx\r\n",
                            "Dactyla course log 1\r\n2026-12-09\t152\t1.5\t3:05\t12\tx\r\nextra"})
        EXPECT_FALSE(parseCourseLog(bad)) << bad;
}

TEST(CourseLog, AppendsAndBeginsAgainAfterADamagedLog) {
    TempDir dir;
    const std::string path = courseLogPath(dir.path(), false);
    const CourseLogEntry a {{2026, 12, 9}, 152, 1.5f, 3, 5, 12, 'g'};
    EXPECT_EQ(appendCourseLog(path, a), LogAppend::appended);
    EXPECT_EQ(appendCourseLog(path, a), LogAppend::appended);
    EXPECT_EQ(parseCourseLog(dir.read("Course log - Eng.txt"))->size(), 2u);
    dir.write("Course log - Eng.txt", "not a log");
    EXPECT_EQ(appendCourseLog(path, a), LogAppend::begunAgain);
    EXPECT_EQ(dir.read("Course log - Eng.txt.damaged"), "not a log");
    EXPECT_EQ(parseCourseLog(dir.read("Course log - Eng.txt"))->size(), 1u);
}

}  // namespace
}  // namespace dactyla
