#include "users/results_log.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "platform/directory.h"
#include "support/temp_dir.h"

namespace dactyla {
namespace {

using testing::TempDir;

constexpr platform::Date kSaintNicholas {.year = 2026, .month = 12, .day = 6};
constexpr SessionResult kExample {.speed = 215, .errorPercent = 1.5f, .minutes = 5, .seconds = 7};

Options russianOptions() { return Options {}; }

Options englishOptions() {
    Options options;
    options.russian = 0;
    return options;
}

Options alphabetOptions(bool capitals, bool uniform) {
    Options options;
    options.alphabetMode = 1;
    options.allowCapitals = capitals ? 1 : 0;
    options.uniformLetters = uniform ? 1 : 0;
    return options;
}

TEST(ResultLine, HasTheDocumentedColumnsByteForByte) {
    const std::string line = formatResultLine(kExample, russianOptions(), kSaintNicholas);
    EXPECT_EQ(line, " 06.12.2026    215    1.5%    5:07\r\n");
    EXPECT_EQ(line.size(), 36u);
    EXPECT_EQ(formatResultLine({.speed = 65535, .errorPercent = 12.3f, .minutes = 255, .seconds = 59},
                               russianOptions(), {.year = 987, .month = 1, .day = 31}),
              " 31.01.987  65535   12.3%  255:59\r\n");
}

TEST(ResultLine, ErrorPercentageKeepsItsSevenPlaces) {
    auto percentColumn = [](float percent) {
        return formatResultLine({.errorPercent = percent}, russianOptions(), kSaintNicholas).substr(18, 8);
    };
    EXPECT_EQ(percentColumn(0.0f), "    0.0%");
    EXPECT_EQ(percentColumn(100.0f), "  100.0%");
    EXPECT_EQ(percentColumn(std::numeric_limits<float>::quiet_NaN()), "    0.0%") << "a session without keys";
    EXPECT_EQ(percentColumn(-3.0f), "    0.0%");
    EXPECT_EQ(percentColumn(1e30f), "  100.0%");
}

TEST(ResultLine, AlphabetDrillsCarryTheirSuffixAndSentencesNone) {
    const std::string base = " 06.12.2026    215    1.5%    5:07";
    EXPECT_EQ(formatResultLine(kExample, alphabetOptions(true, true), kSaintNicholas), base + "   A p\r\n");
    EXPECT_EQ(formatResultLine(kExample, alphabetOptions(false, true), kSaintNicholas), base + "   a p\r\n");
    EXPECT_EQ(formatResultLine(kExample, alphabetOptions(false, false), kSaintNicholas), base + "   a  \r\n");
    EXPECT_EQ(formatResultLine(kExample, alphabetOptions(true, false), kSaintNicholas).size(), 42u);
    Options sentences = alphabetOptions(true, true);
    sentences.alphabetMode = 0;
    EXPECT_EQ(formatResultLine(kExample, sentences, kSaintNicholas), base + "\r\n");
}

TEST(ResultsPath, FollowsTheLanguage) {
    EXPECT_EQ(resultsPath("dir", russianOptions()), platform::joinPath("dir", "Results - Rus.txt"));
    EXPECT_EQ(resultsPath("dir", englishOptions()), platform::joinPath("dir", "Results - Eng.txt"));
}

TEST(AppendResult, TheFirstResultCreatesTheLogWithOneLine) {
    TempDir user;
    ASSERT_TRUE(appendResult(user.path(), englishOptions(), kExample, kSaintNicholas));
    EXPECT_EQ(user.read("Results - Eng.txt"), " 06.12.2026    215    1.5%    5:07\r\n");
    EXPECT_FALSE(platform::fileExists(user.file("Results - Rus.txt")));
}

TEST(AppendResult, TheNewestLineComesFirstAndTheOlderOneStaysByteForByte) {
    TempDir user;
    ASSERT_TRUE(appendResult(user.path(), russianOptions(), kExample, kSaintNicholas));
    const std::string first = user.read("Results - Rus.txt");
    ASSERT_TRUE(appendResult(user.path(), alphabetOptions(false, true),
                             {.speed = 300, .errorPercent = 0.0f, .minutes = 2, .seconds = 0},
                             {.year = 2026, .month = 12, .day = 7}));
    EXPECT_EQ(user.read("Results - Rus.txt"), " 07.12.2026    300    0.0%    2:00   a p\r\n" + first);
}

TEST(AppendResult, AnyOldContentIsKeptExactlyEvenBeyondOneCopyChunk) {
    TempDir user;
    std::string old;
    for (int i = 0; i < 300000; ++i) old += static_cast<char>((i * 131) & 0xFF);
    user.write("Results - Rus.txt", old);
    ASSERT_TRUE(appendResult(user.path(), russianOptions(), kExample, kSaintNicholas));
    EXPECT_EQ(user.read("Results - Rus.txt"),
              formatResultLine(kExample, russianOptions(), kSaintNicholas) + old);
    EXPECT_FALSE(platform::fileExists(user.file("Results - Rus.txt.new")));
}

TEST(AppendResult, IsDatedTodayInUtcByDefault) {
    TempDir user;
    const platform::Date before = platform::utcDate();
    ASSERT_TRUE(appendResult(user.path(), russianOptions(), kExample));
    const platform::Date after = platform::utcDate();
    const std::string written = user.read("Results - Rus.txt");
    EXPECT_TRUE(written == formatResultLine(kExample, russianOptions(), before) ||
                written == formatResultLine(kExample, russianOptions(), after))
        << written;
}

TEST(AppendResult, ALogHeldByAnotherProgramIsRefusedAndLeftIntact) {
    TempDir user;
    user.write("Results - Rus.txt", "older line\r\n");
    for (const bool readOnlyHolder : {false, true}) {
        platform::File other =
            platform::File::open(user.file("Results - Rus.txt"),
                                 {.mode = platform::OpenMode::existing, .readOnly = readOnlyHolder});
        ASSERT_TRUE(other.isOpen());
        EXPECT_FALSE(appendResult(user.path(), russianOptions(), kExample, kSaintNicholas));
        other.close();
        EXPECT_EQ(user.read("Results - Rus.txt"), "older line\r\n");
        EXPECT_FALSE(platform::fileExists(user.file("Results - Rus.txt.new")));
    }
    EXPECT_TRUE(appendResult(user.path(), russianOptions(), kExample, kSaintNicholas)) << "works once let go";
}

// A writer that gives up after `budget` bytes, as a full disk or a dying program would.
LogWriter failingAfter(std::size_t budget) {
    return [budget](platform::File& file, std::string_view bytes) mutable {
        const std::size_t allowed = bytes.size() < budget ? bytes.size() : budget;
        budget -= allowed;
        return file.write(bytes.data(), allowed);
    };
}

TEST(AppendResult, AFailureHalfWayReportsFalseAndKeepsTheOldLog) {
    TempDir user;
    std::string old;
    for (int i = 0; i < 5000; ++i) old += " 01.01.2026    100    2.0%    3:00\r\n";
    user.write("Results - Rus.txt", old);
    const std::size_t budgets[] = {0, 10, 36, 36 + 1000, 36 + 65536 + 7, 36 + old.size() - 1};
    for (const std::size_t budget : budgets) {
        EXPECT_FALSE(
            appendResult(user.path(), russianOptions(), kExample, kSaintNicholas, failingAfter(budget)))
            << budget;
        EXPECT_EQ(user.read("Results - Rus.txt"), old) << budget;
        EXPECT_FALSE(platform::fileExists(user.file("Results - Rus.txt.new"))) << budget;
    }
    EXPECT_TRUE(
        appendResult(user.path(), russianOptions(), kExample, kSaintNicholas, failingAfter(36 + old.size())));
    EXPECT_EQ(user.read("Results - Rus.txt").size(), 36 + old.size());
}

TEST(AppendResult, AMissingUserDirectoryIsAFailure) {
    TempDir program;
    EXPECT_FALSE(appendResult(program.file("nobody"), russianOptions(), kExample, kSaintNicholas));
}

}  // namespace
}  // namespace dactyla
