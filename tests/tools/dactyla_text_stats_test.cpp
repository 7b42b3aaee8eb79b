// dactyla-text stats: its command line, the report and the CSV.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/directory.h"
#include "platform/file.h"
#include "progress/key_statistics.h"
#include "tools/dactyla_text/arguments.h"
#include "tools/dactyla_text/commands.h"
#include "support/tool_run.h"

namespace dactyla::text_tool {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

TEST(DactylaTextStatsArguments, TakesProgramDirectoryUserALanguageAndCsv) {
    auto parsed = parseArguments({"stats", "C:\\Dactyla", "Ann", "--lang", "en"});
    ASSERT_TRUE(parsed.arguments) << parsed.error;
    EXPECT_EQ(parsed.arguments->command, Command::stats);
    EXPECT_EQ(parsed.arguments->programDirectory, "C:\\Dactyla");
    EXPECT_EQ(parsed.arguments->user, "Ann");
    EXPECT_FALSE(parsed.arguments->russian);
    EXPECT_FALSE(parsed.arguments->csv);
    parsed = parseArguments({"stats", "--csv", "dir", "Ann", "--lang", "ru"});
    ASSERT_TRUE(parsed.arguments) << parsed.error;
    EXPECT_TRUE(parsed.arguments->csv);
    EXPECT_TRUE(parsed.arguments->russian);

    const std::vector<std::pair<std::vector<std::string>, std::string>> mistakes = {
        {{"stats", "dir", "Ann"}, "stats needs --lang ru or --lang en"},
        {{"stats", "dir", "--lang", "ru"}, "stats takes PROGRAM_DIR and USER"},
        {{"stats", "dir", "Ann", "x", "--lang", "ru"}, "stats takes PROGRAM_DIR and USER"},
        {{"stats", "dir", "Ann", "--lang", "ru", "--min", "20"}, "unknown option --min for stats"},
        {{"index", "dir", "Ann", "--lang", "ru", "--csv"}, "--csv is for stats only"},
    };
    for (const auto& [words, error] : mistakes) {
        const auto wrong = parseArguments(words);
        EXPECT_FALSE(wrong.arguments) << error;
        EXPECT_EQ(wrong.error, error);
    }
}

class DactylaTextStats : public testing::ToolRun {
protected:
    DactylaTextStats() { makeUser(); }
    void writeInUser(const std::string& name, const std::string& bytes) const {
        platform::File file =
            platform::File::open(platform::joinPath(user(), name), {.mode = platform::OpenMode::createAlways});
        ASSERT_EQ(file.write(bytes.data(), bytes.size()), bytes.size());
    }
    // 'g' typed for 'h' 4 times in 20, 's' for 'a' once in 50, and 3 keystrokes of ','.
    static KeyCounts typedKeys() {
        KeyCounts counts;
        for (int k = 0; k < 16; ++k) counts.countCorrect('h');
        for (int k = 0; k < 4; ++k) counts.countWrong('h', 'g');
        for (int k = 0; k < 49; ++k) counts.countCorrect('a');
        counts.countWrong('a', 's');
        for (int k = 0; k < 30; ++k) counts.countCorrect(' ');
        counts.countCorrect(',');
        counts.countWrong(',', '.');
        counts.countWrong(',', '.');
        return counts;
    }

    // The same keystrokes timed: 'a' at 200 ms after 'h' 48 times, 'h' at 500 ms after a space
    // 14 times and once after a wait of 3 s.
    static std::vector<TimedKeystroke> timedKeys() {
        std::vector<TimedKeystroke> keystrokes;
        const auto timed = [&](char expected, char previous, std::uint32_t latency) {
            keystrokes.push_back({.expected = static_cast<unsigned char>(expected),
                                  .previous = static_cast<unsigned char>(previous), .correct = true, .timed = true,
                                  .latencyMs = latency, .reactionMs = latency});
        };
        keystrokes.push_back({.expected = 'a'});
        for (int k = 0; k < 48; ++k) timed('a', 'h', 200);
        for (int k = 0; k < 14; ++k) timed('h', ' ', 500);
        timed('h', ' ', 3000);
        return keystrokes;
    }

};

const std::string kLog =
    " 07.12.2026    230    1.0%    3:00\r\n"
    "a note\r\n"
    " 06.12.2026    250    2.5%    2:30   a p\r\n"
    " 05.12.2026    180    3.5%   60:00\r\n";

TEST_F(DactylaTextStats, ReportsTheSessionsAndTheKeysWeakestFirst) {
    writeInUser("Results - Eng.txt", kLog);
    ASSERT_EQ(addKeyStatistics(user(), false, typedKeys(), timedKeys()), KeySaveResult::saved);
    ASSERT_EQ(run({"stats", dir.path(), "Ann", "--lang", "en"}), kSuccess) << err.str();
    const std::string report = out.str();
    EXPECT_THAT(report, HasSubstr("sessions  3, 05.12.2026 to 07.12.2026\n"));
    EXPECT_THAT(report, HasSubstr("speed     best 250 (06.12.2026), last 10 average 220.0, last 230 chars/min\n"));
    EXPECT_THAT(report, HasSubstr("typing    1:05:30 in logged sessions\n"));
    EXPECT_THAT(report, HasSubstr("note      1 lines of the log are not results\n"));
    EXPECT_THAT(report, HasSubstr("weakest   H A\n"));
    EXPECT_THAT(report, HasSubstr("slowest   H A\n"));
    // Unknown figures read "—" (CP1251 0x97).
    const auto h = report.find("\nH              20       4   20.0      500   500   120     1        \x97  g 20.0%\n");
    const auto a = report.find("\nA              50       1    2.0      200   200   300     0     0.92  s 2.0%\n");
    const auto space =
        report.find("\nSpace          30       0    0.0        \x97     \x97     \x97     0        \x97  \n");
    const auto comma =
        report.find("\n,               3       2   66.7?       \x97     \x97     \x97     0        \x97  . 66.7%\n");
    ASSERT_NE(h, std::string::npos) << report;
    ASSERT_NE(a, std::string::npos) << report;
    ASSERT_NE(space, std::string::npos) << report;
    ASSERT_NE(comma, std::string::npos) << report;
    EXPECT_TRUE(h < a && a < space && space < comma) << "weakest first, too few to judge last";
    EXPECT_THAT(report, Not(HasSubstr("\nB "))) << "keys never typed are left out";
    EXPECT_THAT(report, HasSubstr("\nslowest pairs      count  median\n"
                                  "Space h               14     500\n"
                                  "ha                    48     200\n"));
    EXPECT_EQ(err.str(), "");
}

TEST_F(DactylaTextStats, CsvHoldsEverySessionOldestFirstAndEveryTypedKey) {
    writeInUser("Results - Eng.txt", kLog);
    ASSERT_EQ(addKeyStatistics(user(), false, typedKeys(), timedKeys()), KeySaveResult::saved);
    ASSERT_EQ(run({"stats", dir.path(), "Ann", "--lang", "en", "--csv"}), kSuccess) << err.str();
    EXPECT_EQ(out.str(),
              "date,speed,error_percent,minutes,seconds,alphabet\r\n"
              "2026-12-05,180,3.5,60,0,0\r\n"
              "2026-12-06,250,2.5,2,30,1\r\n"
              "2026-12-07,230,1.0,3,0,0\r\n"
              "\r\n"
              "key,keystrokes,wrong,error_percent,judged,typed_instead,median_ms,p90_ms,cpm,hesitations,mastery\r\n"
              "H,20,4,20.0,1,g,500,500,120,1,\r\n"
              "A,50,1,2.0,1,s,200,200,300,0,0.92\r\n"
              "Space,30,0,0.0,1,,,,,0,\r\n"
              "\",\",3,2,66.7,0,.,,,,0,\r\n"
              "\r\n"
              "pair,count,median_ms\r\n"
              "Space h,14,500\r\n"
              "ha,48,200\r\n");
}

TEST_F(DactylaTextStats, SaysWhatToDoWhenThereIsNothingYetAndNamesADamagedFile) {
    ASSERT_EQ(run({"stats", dir.path(), "Ann", "--lang", "ru"}), kSuccess);
    EXPECT_THAT(out.str(), HasSubstr("sessions  none yet"));
    EXPECT_THAT(out.str(), HasSubstr("none yet (keystrokes are counted from the next session on)"));

    ASSERT_EQ(addKeyStatistics(user(), true, typedKeys()), KeySaveResult::saved);
    ASSERT_EQ(run({"stats", dir.path(), "Ann", "--lang", "ru"}), kSuccess);
    EXPECT_THAT(out.str(), HasSubstr("slowest   none\n")) << "counted, not timed";
    EXPECT_THAT(out.str(), HasSubstr("\npairs     none timed 10 times yet\n"));
    ASSERT_EQ(run({"stats", dir.path(), "Ann", "--lang", "ru", "--csv"}), kSuccess);
    EXPECT_THAT(out.str(), HasSubstr(",0,\r\n\r\npair,count,median_ms\r\n")) << "an empty pairs table";

    writeInUser("Keys - Rus.dat", "garbage");
    ASSERT_EQ(run({"stats", dir.path(), "Ann", "--lang", "ru"}), kSuccess);
    EXPECT_THAT(out.str(), HasSubstr("damaged or not Dactyla's"));
    EXPECT_EQ(platform::readWholeFile(platform::joinPath(user(), "Keys - Rus.dat")), "garbage") << "only read";
}

TEST_F(DactylaTextStats, IsInTheHelpAndAMissingProgramDirectoryOrUserIsBadInput) {
    EXPECT_EQ(run({"--help"}), kSuccess);
    EXPECT_THAT(out.str(), HasSubstr("dactyla-text stats PROGRAM_DIR USER --lang ru|en [--csv]"));
    EXPECT_EQ(run({"stats", dir.file("nothing"), "Ann", "--lang", "ru"}), kBadInput);
    EXPECT_THAT(err.str(), HasSubstr("no program directory"));
    EXPECT_EQ(run({"stats", dir.path(), "Bob", "--lang", "ru"}), kBadInput);
    EXPECT_THAT(err.str(), HasSubstr("no user directory"));
    EXPECT_EQ(run({"stats", dir.path(), "..", "--lang", "ru"}), kBadInput);
    EXPECT_THAT(err.str(), HasSubstr("is not a user name"));
}

}  // namespace
}  // namespace dactyla::text_tool
