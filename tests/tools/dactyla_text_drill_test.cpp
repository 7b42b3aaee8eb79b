// dactyla-text drill: its command line, the weak spots it names and the lines it prints.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "corpus/sentence_corpus.h"
#include "platform/directory.h"
#include "platform/file.h"
#include "progress/key_statistics.h"
#include "tools/dactyla_text/arguments.h"
#include "tools/dactyla_text/commands.h"
#include "support/tool_run.h"
#include "weak_keys/weak_key_drill.h"

namespace dactyla::text_tool {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

TEST(DactylaTextDrillArguments, TakesProgramDirectoryUserALanguageAndLines) {
    auto parsed = parseArguments({"drill", "dir", "Ann", "--lang", "en", "--lines", "7"});
    ASSERT_TRUE(parsed.arguments) << parsed.error;
    EXPECT_EQ(parsed.arguments->command, Command::drill);
    EXPECT_EQ(parsed.arguments->user, "Ann");
    EXPECT_FALSE(parsed.arguments->russian);
    EXPECT_EQ(parsed.arguments->lines, 7u);

    const std::vector<std::pair<std::vector<std::string>, std::string>> mistakes = {
        {{"drill", "dir", "Ann"}, "drill needs --lang ru or --lang en"},
        {{"drill", "dir", "--lang", "ru"}, "drill takes PROGRAM_DIR and USER"},
        {{"drill", "dir", "Ann", "--lang", "ru", "--lines", "many"}, "--lines must be a number, not 'many'"},
        {{"drill", "dir", "Ann", "--lang", "ru", "--csv"}, "--csv is for stats only"},
        {{"stats", "dir", "Ann", "--lang", "ru", "--lines", "3"}, "unknown option --lines for stats"},
    };
    for (const auto& [words, error] : mistakes) {
        const auto wrong = parseArguments(words);
        EXPECT_FALSE(wrong.arguments) << error;
        EXPECT_EQ(wrong.error, error);
    }
}

// "Ш" and "Ж" weak, "Щ" typed for "Ш"; every other letter typed well.
KeyCounts shAndZhWeak(int keystrokesPerLetter) {
    KeyCounts counts;
    for (unsigned letter = 0xE0; letter <= 0xFF; ++letter)
        for (int k = 0; k < keystrokesPerLetter; ++k) counts.countCorrect(static_cast<unsigned char>(letter));
    for (int k = 0; k < keystrokesPerLetter / 2; ++k) {
        counts.countWrong(0xF8, 0xF9);
        counts.countWrong(0xE6, 0xE7);
    }
    return counts;
}

// Sentences, some with ш and ж, most without.
std::string russianText() {
    const std::vector<std::string> sentences = {
        "\xCC\xFB \xF8\xEB\xE8 \xEF\xEE \xE6\xE5\xEB\xF2\xEE\xE9 \xE4\xEE\xF0\xEE\xE3\xE5.",  // Мы шли по жёлтой дороге.
        "\xCE\xED \xF7\xE8\xF2\xE0\xEB \xEA\xED\xE8\xE3\xF3 \xE2\xE5\xF7\xE5\xF0\xEE\xEC.",   // Он читал книгу вечером.
        "\xCA\xEE\xF8\xEA\xE0 \xEB\xE5\xE6\xE8\xF2 \xED\xE0 \xF8\xEA\xE0\xF4\xF3.",           // Кошка лежит на шкафу.
        "\xC4\xEE\xEC \xF1\xF2\xEE\xE8\xF2 \xF3 \xF0\xE5\xEA\xE8.",                            // Дом стоит у реки.
        "\xD1\xE0\xE4 \xF6\xE2\xE5\xEB \xE2\xE5\xF1\xED\xEE\xE9 \xE4\xEE\xEB\xE3\xEE.",       // Сад цвёл весной долго.
        "\xCC\xE0\xEC\xE0 \xEC\xFB\xEB\xE0 \xF0\xE0\xEC\xF3.",                                 // Мама мыла раму.
        "\xD2\xE8\xF5\xEE \xE2 \xEB\xE5\xF1\xF3 \xED\xEE\xF7\xFC\xFE.",                        // Тихо в лесу ночью.
        "\xC2\xEE\xF2 \xE8 \xE2\xE5\xF1\xFC \xF0\xE0\xF1\xF1\xEA\xE0\xE7.",                    // Вот и весь рассказ.
    };
    std::string text;
    for (int round = 0; round < 5; ++round)
        for (const std::string& sentence : sentences) text += sentence + "\r\n";
    return text;
}

class DactylaTextDrill : public testing::ToolRun {
protected:
    DactylaTextDrill() {
        makeUser();
        dir.write("TextData.Rus", russianText());
    }
    void writeStatistics(const KeyCounts& counts) const {
        const std::string bytes = encodeKeyStatistics({counts, {}});
        platform::File file = platform::File::open(keyStatisticsPath(user(), true), {.mode = platform::OpenMode::createAlways});
        ASSERT_EQ(file.write(bytes.data(), bytes.size()), bytes.size());
    }

};

TEST_F(DactylaTextDrill, NamesTheWeakKeysAndConfusionsWithTheirWeights) {
    writeStatistics(shAndZhWeak(20));
    ASSERT_EQ(run({"drill", dir.path(), "Ann", "--lang", "ru"}), kSuccess) << err.str();
    const std::string report = out.str();
    EXPECT_THAT(report, HasSubstr("Ann (Russian), 660 judged keystrokes"));
    EXPECT_THAT(report, HasSubstr("\n  \xD8\t"));  // Ш
    EXPECT_THAT(report, HasSubstr("\n  \xC6\t"));  // Ж
    EXPECT_THAT(report, HasSubstr("\xD8 -> \xD9\t   10 times, 33.3%"));
    EXPECT_THAT(report, HasSubstr("slow pairs none"));
    EXPECT_THAT(report, HasSubstr("the best 10 of 40 sentences"));
    EXPECT_EQ(err.str(), "");
}

TEST_F(DactylaTextDrill, PrintsTheLinesASessionWouldGetAndTheyHoldTheWeakKeys) {
    writeStatistics(shAndZhWeak(20));
    ASSERT_EQ(run({"drill", dir.path(), "Ann", "--lang", "ru", "--lines", "4"}), kSuccess) << err.str();
    std::istringstream lines(out.str());
    std::vector<std::string> printed;
    for (std::string line; std::getline(lines, line);) printed.push_back(line);
    ASSERT_EQ(printed.size(), 4u);
    for (const std::string& line : printed) {
        ASSERT_FALSE(line.empty());
        EXPECT_EQ(line.back(), ' ') << "as fed, with the drill's space";
        EXPECT_NE(russianText().find(line.substr(0, line.size() - 1)), std::string::npos) << line;
        EXPECT_TRUE(line.find('\xF8') != std::string::npos || line.find('\xE6') != std::string::npos) << line;
    }

    // The program aims with the same figures, so a session started now gets these lines.
    const auto text = platform::readWholeFile(dir.file("TextData.Rus"));
    ASSERT_TRUE(text);
    WeakKeyDrill drill;
    ASSERT_TRUE(drill.aim(loadWeaknessEvidence(user(), true), ScanText(*text), Options {}));
    for (const std::string& line : printed) {
        std::array<char, kCorpusLineRoom> fed {};
        const std::uint16_t length = drill.nextLine(fed.data());
        EXPECT_EQ(std::string(fed.data(), length), line);
    }
}

TEST_F(DactylaTextDrill, SaysSoWhenTheStatisticsHoldTooFewKeystrokes) {
    writeStatistics(shAndZhWeak(2));  // 64 correct and 2 wrong
    ASSERT_EQ(run({"drill", dir.path(), "Ann", "--lang", "ru", "--lines", "3"}), kSuccess);
    EXPECT_EQ(out.str(), "");
    EXPECT_THAT(err.str(), HasSubstr("too few keystrokes to aim at: 66 judged in Russian, 300 needed"));
    ASSERT_EQ(run({"drill", dir.path(), "Ann", "--lang", "en"}), kBadInput) << "no English text";
    EXPECT_THAT(err.str(), HasSubstr("cannot read"));
}

TEST_F(DactylaTextDrill, RefusesAMissingUserOrProgramDirectory) {
    EXPECT_EQ(run({"drill", dir.path(), "Bob", "--lang", "ru"}), kBadInput);
    EXPECT_THAT(err.str(), HasSubstr("no user directory"));
    EXPECT_EQ(run({"drill", dir.file("nowhere"), "Ann", "--lang", "ru"}), kBadInput);
    EXPECT_EQ(run({"drill", dir.path(), "..", "--lang", "ru"}), kBadInput);
    EXPECT_THAT(out.str(), Not(HasSubstr("weak keys")));
}

}  // namespace
}  // namespace dactyla::text_tool
