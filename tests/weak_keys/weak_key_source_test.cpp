#include "weak_keys/weak_key_source.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/file.h"
#include "progress/key_map.h"
#include "progress/key_statistics.h"
#include "support/statistics_files.h"
#include "support/temp_dir.h"
#include "texts/interface_texts.h"
#include "weak_keys/weak_key_log.h"

namespace dactyla {
namespace {

using testing::TempDir;

KeyIndex en(char byte) { return keyIndexTable(false)[static_cast<unsigned char>(byte)]; }

// `right` keystrokes of 'a', and 'q' typed 30 times right and 10 times as 'w'.
KeyCounts countsWith(int right) {
    KeyCounts counts;
    for (int k = 0; k < right; ++k) counts.countCorrect('a');
    for (int k = 0; k < 30; ++k) counts.countCorrect('q');
    for (int k = 0; k < 10; ++k) counts.countWrong('q', 'w');
    return counts;
}

// Twelve sentences, four of them full of q: the best quarter (three) holds only those.
const char* const kText =
    "Quick queens quietly queue for quinces. The cat sat on the mat today. A dog ran down the road. "
    "Quaint quips quell quarrels quickly. She read a book in the sun. The rain fell on the town. "
    "Quiet quails quit the quarry. He had tea with his aunt. The bus left at ten sharp. "
    "Queer quartz quakes in quiet squares. They sang a song at dawn. We met at the old bench. ";

class FakeCorpus final : public DrillCorpus {
public:
    std::uint32_t sentenceCount() const override { return 1; }
    std::uint16_t nextCorpusLine(char* destination, const Options&) override {
        std::strcpy(destination, kLine);
        return static_cast<std::uint16_t>(std::strlen(kLine));
    }
    bool takeWrapped() override { return false; }
    void reshuffleRemainder(bool) override {}
    void savePosition() override {}
    static constexpr const char* kLine = "An ordinary sentence. ";
};

class FakeHost final : public WeakKeyHost {
public:
    WeaknessInput evidence;
    const char* text = kText;  // null: it cannot be read
    bool hasCorpus = true;
    std::vector<std::string> told;
    FakeCorpus corpus;

    WeaknessInput weaknessEvidence() override { return evidence; }
    std::optional<ScanText> drillText() override {
        if (text == nullptr) return std::nullopt;
        return ScanText(text);
    }
    DrillCorpus* sentences() override { return hasCorpus ? &corpus : nullptr; }
    void notify(const std::string& text) override { told.push_back(text); }
};

std::string nextLine(WeakKeySource& source) {
    std::array<char, kLineSourceRoom> line {};
    const std::uint16_t length = source.nextLine(line.data());
    return std::string(line.data(), length);
}

// A session start in every state the learner's records can be in: what the strip gets, what
// is said and what the drill's own log says of the session.
TEST(WeakKeySource, AimsWithEnoughKeystrokesAndElseSaysSoAndGivesOrdinarySentences) {
    struct Case {
        const char* name;
        int rightKeystrokes;  // of 'a', beside the 40 of 'q'
        const char* text;
        bool corpus;
        bool hasLines;
        bool toldTooFew;
        bool aimed;           // the lines are the text's sentences rich in q
        const char* logTail;  // the end of the log line
    };
    const std::vector<Case> cases = {
        {"enough keystrokes and a text", 360, kText, true, true, false, true, "   Q\r\n"},
        {"exactly 300 keystrokes", 260, kText, true, true, false, true, "   Q\r\n"},
        {"299 keystrokes: said, and sentences follow", 259, kText, true, true, true, false, "   -\r\n"},
        {"none at all", -40, kText, true, true, true, false, "   -\r\n"},
        {"enough, but the text cannot be read: sentences, nothing said", 360, nullptr, true, true, false, false,
         "   -\r\n"},
        {"enough, but the text holds no sentence: sentences, logged as such", 360, "quite quick quips, no capital",
         true, true, false, false, "   -\r\n"},
        {"too few and no sentences either: no session", 100, kText, false, false, true, false, nullptr},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        TempDir user;
        Options options;
        options.russian = 0;
        FakeHost host;
        if (test.rightKeystrokes >= 0) host.evidence = evidenceFromCounts(countsWith(test.rightKeystrokes), false);
        host.text = test.text;
        host.hasCorpus = test.corpus;
        WeakKeySource source(host, options, user.path());

        ASSERT_EQ(source.hasLines(), test.hasLines);
        ASSERT_EQ(host.told.size(), test.toldTooFew ? 1u : 0u);
        if (test.toldTooFew) {
            const std::string judged = std::to_string(test.rightKeystrokes < 0 ? 0 : test.rightKeystrokes + 40);
            EXPECT_NE(host.told[0].find(judged), std::string::npos) << host.told[0];
            EXPECT_NE(host.told[0].find("300"), std::string::npos) << host.told[0];
        }
        EXPECT_EQ(source.aimed(), test.aimed);
        if (!test.hasLines) continue;
        for (int k = 0; k < 3; ++k) {
            const std::string line = nextLine(source);
            if (test.aimed) {
                EXPECT_NE(std::string(kText).find(line), std::string::npos) << line;
                EXPECT_GE(std::count(line.begin(), line.end(), 'q') + std::count(line.begin(), line.end(), 'Q'), 4)
                    << line;
            } else {
                EXPECT_EQ(line, FakeCorpus::kLine);
            }
        }

        source.sessionFinished({.minutes = 1, .seconds = 5, .speed = 180, .errorPercent = 2.5f});
        const std::string log = user.read("Weak keys - Eng.txt");
        ASSERT_GE(log.size(), std::strlen(test.logTail));
        EXPECT_EQ(log.substr(log.size() - std::strlen(test.logTail)), test.logTail) << log;
        EXPECT_FALSE(platform::fileExists(user.file("Results - Eng.txt"))) << "the results log is not the drill's";
        EXPECT_EQ(host.told.size(), test.toldTooFew ? 1u : 0u) << "the log was written";
    }
}

TEST(WeakKeySource, ALogThatCannotBeWrittenIsSaid) {
    TempDir user;
    Options options;
    FakeHost host;
    WeakKeySource source(host, options, user.file("no such folder"));
    ASSERT_TRUE(source.hasLines());
    source.sessionFinished({.minutes = 0, .seconds = 30, .speed = 100});
    ASSERT_EQ(host.told.size(), 2u) << "too few keystrokes, then the log";
    EXPECT_EQ(host.told[1], texts::textString("weakKeys.logFailed"));
}

TEST(WeakKeyLog, IsTheResultsLineWithTheKeysAimedAtNewestFirst) {
    const platform::Date date {2026, 12, 9};
    const SessionResult result {215, 1.5f, 5, 7};
    const auto& russian = keyIndexTable(true);
    struct Case {
        bool russian;
        std::vector<WeakKey> keys;
        const char* line;
    };
    const std::vector<Case> cases = {
        {true, {}, " 09.12.2026    215    1.5%    5:07   -\r\n"},
        {true, {{russian[0xF8], 0.5, 0.01}, {russian[0xE6], 0.4, 0.01}, {russian[' '], 0.3, 0.01}},
         " 09.12.2026    215    1.5%    5:07   \xD8 \xC6 Space\r\n"},
        {false, {{en('q'), 0.5, 0.01}, {en(';'), 0.5, 0.01}}, " 09.12.2026    215    1.5%    5:07   Q ;\r\n"},
    };
    for (const Case& test : cases) EXPECT_EQ(formatWeakKeysLogLine(result, test.keys, test.russian, date), test.line);

    TempDir user;
    ASSERT_TRUE(appendWeakKeysLog(user.path(), true, result, {}, date));
    ASSERT_TRUE(appendWeakKeysLog(user.path(), true, {300, 0.0f, 1, 0}, {}, {2026, 12, 10}));
    EXPECT_EQ(user.read("Weak keys - Rus.txt"),
              " 10.12.2026    300    0.0%    1:00   -\r\n 09.12.2026    215    1.5%    5:07   -\r\n");
    EXPECT_FALSE(platform::fileExists(user.file("Weak keys - Eng.txt")));
}

// What a statistics file of either version tells the drill: counts only aim by error rates;
// timed statistics by mastery, with slow pairs against the learner's own median.
TEST(WeaknessEvidence, ComesFromEitherVersionOfTheStatisticsFile) {
    const KeyCounts counts = countsWith(360);
    // 'q' at 1200 ms, every other key at 200 ms, and the pair "th" at 900 ms: "eq" and "th" are
    // slow pairs, "ea", "as" and " t" are not.
    std::vector<TimedKeystroke> keystrokes;
    const auto typed = [&](char previous, char character, std::uint32_t ms, int times) {
        for (int k = 0; k < times; ++k)
            keystrokes.push_back({.expected = static_cast<unsigned char>(character),
                                  .previous = static_cast<unsigned char>(previous), .correct = true, .timed = true,
                                  .latencyMs = ms, .reactionMs = ms});
    };
    typed('e', 'q', 1200, 25);
    typed('e', 'a', 200, 30);
    typed('a', 's', 200, 30);
    typed('t', 'h', 900, 12);
    typed(' ', 't', 200, 30);

    struct Case {
        const char* name;
        std::optional<std::string> file;  // none: written by the program from `keystrokes`
        bool timed;
        std::uint64_t judged;
        bool slowPair;
    };
    const std::vector<Case> cases = {
        {"version 1: counts only", testing::version1File(counts), false, 400, false},
        {"version 2 without timings: counts only", encodeKeyStatistics({counts, {}}), false, 400, false},
        {"version 2 with timings", std::nullopt, true, 400, true},
        {"no file", "", false, 0, false},
        {"a damaged file", std::string("DactKeys and nothing else"), false, 0, false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        TempDir user;
        if (!test.file) ASSERT_EQ(addKeyStatistics(user.path(), false, counts, keystrokes), KeySaveResult::saved);
        else if (!test.file->empty()) user.write("Keys - Eng.dat", *test.file);

        WeaknessInput input = loadWeaknessEvidence(user.path(), false);
        EXPECT_EQ(input.timed, test.timed);
        input.keyFrequency = keyFrequencies("the quick brown fox jumps over the lazy dog; as is", false);
        const WeakSpots spots = findWeakSpots(input);
        EXPECT_EQ(spots.judgedKeystrokes, test.judged);
        if (test.judged < kKeystrokesForWeakKeys) {
            EXPECT_TRUE(spots.keys.empty());
            continue;
        }
        ASSERT_FALSE(spots.keys.empty());
        EXPECT_EQ(spots.keys[0].key, en('q'));
        if (test.timed) {
            EXPECT_NEAR(*input.keys[en('q')].mastery, 400.0 / 1200.0, 1e-9) << "speed confidence at 150 cpm";
            EXPECT_NEAR(spots.keys[0].badness, 1 - 400.0 / 1200.0, 1e-9);
            EXPECT_DOUBLE_EQ(*input.userMedianMs, 200.0);
        } else {
            EXPECT_FALSE(input.userMedianMs.has_value());
            EXPECT_TRUE(input.pairs.empty());
        }
        ASSERT_EQ(spots.pairs.size(), test.slowPair ? 2u : 0u) << "\"eq\" and \"th\"";
        if (test.slowPair) {
            EXPECT_EQ(spots.pairs[0].second, en('q')) << "the slowest first";
            EXPECT_EQ(spots.pairs[1].first, en('t'));
            EXPECT_EQ(spots.pairs[1].second, en('h'));
            EXPECT_EQ(spots.pairs[1].samples, 12u);
            EXPECT_DOUBLE_EQ(spots.pairs[1].medianMs, 900.0);
        }
    }
}

// Both cases of two keys are one pair, their latencies pooled for the median.
TEST(WeaknessEvidence, PoolsBothCasesOfAPairAndLeavesOutBytesNoKeyTypes) {
    TimingStatistics timing;
    std::vector<TimedKeystroke> keystrokes;
    for (int k = 0; k < 6; ++k) {
        keystrokes.push_back({.expected = 'h', .previous = 't', .correct = true, .timed = true, .latencyMs = 500});
        keystrokes.push_back({.expected = 'h', .previous = 'T', .correct = true, .timed = true, .latencyMs = 700});
        keystrokes.push_back({.expected = 'h', .previous = 0x01, .correct = true, .timed = true, .latencyMs = 900});
    }
    timing.addSession(keystrokes);
    const WeaknessInput input = evidenceFromStatistics(KeyCounts {}, timing, false);
    ASSERT_EQ(input.pairs.size(), 1u);
    EXPECT_EQ(input.pairs[0].first, en('t'));
    EXPECT_EQ(input.pairs[0].second, en('h'));
    EXPECT_EQ(input.pairs[0].samples, 12u);
    EXPECT_DOUBLE_EQ(input.pairs[0].medianMs, 600.0);
    EXPECT_FALSE(input.timed) << "18 latencies of 'h': under the 20 mastery needs";
}

}  // namespace
}  // namespace dactyla
