// A session's keystrokes added to a user's timing statistics, their pairs, and the timing section
// of the statistics file.
#include "progress/timing_statistics.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "progress/mastery.h"

namespace dactyla {
namespace {

TimedKeystroke right(unsigned char expected, unsigned char previous, std::uint32_t latencyMs,
                     std::uint32_t reactionMs = 0) {
    return {.expected = expected, .previous = previous, .correct = true, .timed = true, .latencyMs = latencyMs,
            .reactionMs = reactionMs == 0 ? latencyMs : reactionMs};
}
TimedKeystroke wrong(unsigned char expected, bool hinted = false) {
    return {.expected = expected, .hinted = hinted};
}
TimedKeystroke firstOfRun(unsigned char expected) { return {.expected = expected, .correct = true}; }
TimedKeystroke hinted(unsigned char expected, unsigned char previous, std::uint32_t latencyMs) {
    TimedKeystroke keystroke = right(expected, previous, latencyMs);
    keystroke.hinted = true;
    return keystroke;
}

TEST(TimingStatistics, ASessionFeedsEachKeyAndEachPairByTheRules) {
    TimingStatistics statistics;
    std::vector<TimedKeystroke> session = {
        firstOfRun('a'),            // outcome only
        wrong('b'), right('b', 'a', 500, 200),
        right('c', 'b', 2500),      // a hesitation: above 2000 ms with no median yet
        wrong('a', true), hinted('a', 'c', 100),  // hinted: counted apart
        right('b', 'a', 300),
    };
    statistics.addSession(session);
    const KeyTiming& a = statistics.key('a');
    const KeyTiming& b = statistics.key('b');
    const KeyTiming& c = statistics.key('c');
    EXPECT_EQ(a.outcomes.size(), 1u);
    EXPECT_TRUE(a.latencies.empty());
    EXPECT_EQ(a.hintedPresses, 2u);
    ASSERT_EQ(b.latencies.size(), 2u);
    EXPECT_EQ(b.latencies[0], 500);
    EXPECT_EQ(b.latencies[1], 300);
    ASSERT_EQ(b.outcomes.size(), 3u);
    EXPECT_TRUE(b.outcomes[0]);
    EXPECT_EQ(b.reactionSumMs, 500u) << "200 for the press after a wrong one, 300 for the clean one";
    EXPECT_EQ(b.smoothedLatencyUs, 400000u) << "the session's mean";
    EXPECT_EQ(c.hesitations, 1u);
    EXPECT_TRUE(c.latencies.empty());
    EXPECT_EQ(c.smoothedLatencyUs, 0u);
    ASSERT_EQ(statistics.pairs().size(), 1u) << "only clean latencies make pairs";
    const PairTiming& ab = statistics.pairs()[0];
    EXPECT_EQ(ab.previous, 'a');
    EXPECT_EQ(ab.character, 'b');
    EXPECT_EQ(ab.count, 2u);
    EXPECT_EQ(ab.latencySumMs, 800u);
    EXPECT_EQ(ab.medianMs(), 400.0);

    // The next session: 'c' earns a median, so a later wait is measured against it.
    std::vector<TimedKeystroke> next;
    for (int k = 0; k < 5; ++k) next.push_back(right('c', 'b', 900));
    next.push_back(right('c', 'b', 2700));  // under three times 900
    next.push_back(right('c', 'b', 2701));  // over it
    next.push_back(right('b', 'a', 600));
    statistics.addSession(next);
    EXPECT_EQ(statistics.key('c').latencies.size(), 6u);
    EXPECT_EQ(statistics.key('c').hesitations, 2u);
    EXPECT_EQ(statistics.key('b').smoothedLatencyUs, 420000u) << "0.1 × 600 + 0.9 × 400";
    EXPECT_EQ(statistics.pairs().size(), 2u);
    EXPECT_EQ(statistics.pairs()[1].id(), 'b' << 8 | 'c') << "pairs stay in order";
}

TEST(TimingStatistics, SlowestPairsNeedTenSamplesAndRankByMedian) {
    TimingStatistics statistics;
    std::vector<TimedKeystroke> session;
    for (int k = 0; k < 10; ++k) {
        session.push_back(right('t', 'h', 200));
        session.push_back(right('e', 'h', 450));
        session.push_back(right('y', 'm', 300));
        if (k < 9) session.push_back(right('q', 'z', 1500));  // nine: not ranked
    }
    for (int k = 0; k < 20; ++k) session.push_back(right('t', 'h', 600));  // the newest sixteen count
    statistics.addSession(session);
    const std::vector<PairTiming> slowest = slowestPairs(statistics, 2);
    ASSERT_EQ(slowest.size(), 2u);
    EXPECT_EQ(slowest[0].id(), 'h' << 8 | 't');
    EXPECT_EQ(slowest[0].medianMs(), 600.0);
    EXPECT_EQ(slowest[0].count, 30u);
    EXPECT_EQ(slowest[1].id(), 'h' << 8 | 'e');
    EXPECT_EQ(slowestPairs(statistics, 10).size(), 3u);
}

TimingStatistics varied() {
    TimingStatistics statistics;
    std::vector<TimedKeystroke> session;
    for (unsigned k = 0; k < 300; ++k) {
        const auto character = static_cast<unsigned char>(k * 37 % 256);
        if (k % 7 == 0) session.push_back(wrong(character));
        if (k % 11 == 0) session.push_back(wrong(character, true));
        session.push_back(right(character, static_cast<unsigned char>(k % 5), 80 + k * 13 % 900, 60));
    }
    for (int k = 0; k < 100; ++k) session.push_back(right(0xE0, 0xEF, 150 + k));  // 'а' after 'п': rings wrap
    session.push_back(right(0xE0, 0xEF, 65000));  // a hesitation
    session.push_back(firstOfRun(0xFF));
    statistics.addSession(session);
    return statistics;
}

TEST(TimingSection, ReadsBackWhatWasWrittenAndWritesBackWhatWasRead) {
    const TimingStatistics statistics = varied();
    const std::string bytes = encodeTiming(statistics);
    ASSERT_EQ(bytes.size(), 256 * kKeyTimingRecordSize + 4 + statistics.pairs().size() * kPairRecordSize);
    const auto decoded = decodeTiming(bytes);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, statistics);
    EXPECT_EQ(encodeTiming(*decoded), bytes);
    EXPECT_EQ(mastery(decoded->key(0xE0)), mastery(statistics.key(0xE0)));

    const TimingStatistics empty;
    const auto none = decodeTiming(encodeTiming(empty));
    ASSERT_TRUE(none.has_value());
    EXPECT_EQ(*none, empty);
    EXPECT_NE(statistics, empty);
}

TEST(TimingSection, AnythingMalformedIsRefused) {
    TimingStatistics statistics;
    statistics.addSession(std::vector<TimedKeystroke> {right('b', 'a', 300), right('b', 'a', 310), right('c', 'a', 200)});
    const std::string good = encodeTiming(statistics);
    ASSERT_TRUE(decodeTiming(good).has_value());
    const std::size_t key = 'b' * kKeyTimingRecordSize;
    const std::size_t pairs = 256 * kKeyTimingRecordSize + 4;
    struct Damage {
        const char* name;
        std::size_t offset;
        char value;
    };
    const Damage cases[] = {
        {"65 latencies", key + 0, 65},
        {"129 outcomes", key + 4, static_cast<char>(129)},
        {"a value behind the latencies", key + 8 + 2 * 2, 1},
        {"an outcome behind the outcomes", key + 136, 0x08},
        {"a pair counted before its latencies", pairs + 4, 1},
        {"a pair without latencies", pairs + 2, 0},
        {"17 latencies of a pair", pairs + 2, 17},
        {"a value behind a pair's latencies", pairs + 16 + 2 * 2, 1},
        {"pairs out of order", pairs + kPairRecordSize + 1, 'A'},
        {"a pair twice", pairs + kPairRecordSize + 1, 'b'},
    };
    for (const Damage& damage : cases) {
        std::string bytes = good;
        bytes[damage.offset] = damage.value;
        EXPECT_FALSE(decodeTiming(bytes).has_value()) << damage.name;
    }
    std::string morePairs = good;
    morePairs[pairs - 4] = 3;
    std::string hugeCount = good;
    hugeCount[pairs - 1] = 0x7F;
    for (const std::string& bytes : {good.substr(0, good.size() - 1), good + std::string(48, '\0'), morePairs,
                                     hugeCount, std::string(), std::string(pairs - 1, '\0')})
        EXPECT_FALSE(decodeTiming(bytes).has_value()) << bytes.size();
}

}  // namespace
}  // namespace dactyla
