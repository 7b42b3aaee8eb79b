#include "progress/key_statistics.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fault_injection.h"
#include "platform/file.h"
#include "support/statistics_files.h"
#include "support/temp_dir.h"

namespace dactyla {
namespace {

using testing::TempDir;
using testing::version1File;
using testing::withChecksum;

const std::string kRussianFile = "Keys - Rus.dat";

KeyCounts someCounts() {
    KeyCounts counts;
    for (int k = 0; k < 300; ++k) counts.countCorrect(0xE0);  // 'а'
    counts.countWrong(0xE0, 0xEE);                             // 'о' instead of 'а'
    counts.countWrong(' ', 'x');
    counts.countCorrect(0xFF);
    return counts;
}

std::uint32_t u32At(const std::string& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (int k = 3; k >= 0; --k) value = value << 8 | static_cast<unsigned char>(bytes[offset + k]);
    return value;
}

// A session's keystrokes: 'а' typed 30 times after 'п' at a steady 300 ms, one wrong press.
std::vector<TimedKeystroke> someKeystrokes() {
    std::vector<TimedKeystroke> keystrokes {{.expected = 0xE0}};
    for (int k = 0; k < 30; ++k)
        keystrokes.push_back({.expected = 0xE0, .previous = 0xEF, .correct = true, .timed = true, .latencyMs = 300,
                              .reactionMs = 300});
    return keystrokes;
}

TEST(KeyStatisticsFile, HasTheDocumentedLayoutAndReadsBackWhatWasWritten) {
    KeyStatistics statistics {someCounts(), {}};
    statistics.timing.addSession(someKeystrokes());
    const std::string bytes = encodeKeyStatistics(statistics);
    ASSERT_EQ(bytes.size(), kKeyStatisticsSize + kPairRecordSize) << "one pair";
    EXPECT_EQ(bytes.substr(0, 8), "DactKeys");
    EXPECT_EQ(u32At(bytes, 8), 2u) << "version";
    EXPECT_EQ(u32At(bytes, 12 + 4 * 0xE0), 300u) << "correct 'а'";
    EXPECT_EQ(u32At(bytes, 1036 + 4 * 0xE0), 1u) << "wrong 'а'";
    EXPECT_EQ(u32At(bytes, 2060 + 4 * (0xE0 * 256 + 0xEE)), 1u) << "'о' for 'а'";
    EXPECT_EQ(u32At(bytes, 2060 + 4 * (' ' * 256 + 'x')), 1u);
    const std::size_t a = 264204 + 176 * 0xE0;
    EXPECT_EQ(u32At(bytes, a), 30u) << "latencies of 'а'";
    EXPECT_EQ(u32At(bytes, a + 4), 31u) << "outcomes of 'а'";
    EXPECT_EQ(u32At(bytes, a + 8) & 0xFFFF, 300u) << "its oldest latency";
    EXPECT_EQ(static_cast<unsigned char>(bytes[a + 136]), 1u) << "its oldest outcome was wrong";
    EXPECT_EQ(u32At(bytes, a + 160), 300000u) << "smoothed, in µs";
    EXPECT_EQ(u32At(bytes, 309260), 1u) << "pairs";
    EXPECT_EQ(static_cast<unsigned char>(bytes[309264]), 0xEF) << "'п'";
    EXPECT_EQ(static_cast<unsigned char>(bytes[309265]), 0xE0) << "then 'а'";
    EXPECT_EQ(u32At(bytes, 309268), 30u) << "its count";
    EXPECT_EQ(u32At(bytes, 309272), 9000u) << "its summed latency";
    const auto decoded = decodeKeyStatistics(bytes);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, statistics);
}

TEST(KeyStatisticsFile, AVersion1FileIsReadWithItsCountsAndNoTiming) {
    const std::string old = version1File(someCounts());
    ASSERT_EQ(old.size(), kKeyStatisticsVersion1Size);
    const auto decoded = decodeKeyStatistics(old);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->counts, someCounts());
    EXPECT_EQ(decoded->timing, TimingStatistics {});
    std::string grown = old;
    grown[8] = 2;
    EXPECT_FALSE(decodeKeyStatistics(withChecksum(grown.substr(0, grown.size() - 4)))) << "version 2 of that size";
    std::string padded = old.substr(0, old.size() - 4) + std::string(kKeyStatisticsSize - old.size(), '\0');
    EXPECT_FALSE(decodeKeyStatistics(withChecksum(padded))) << "version 1 of the size of 2";
}

TEST(KeyStatisticsFile, AnythingButAnIntactFileIsRefused) {
    KeyStatistics statistics {someCounts(), {}};
    statistics.timing.addSession(someKeystrokes());
    const std::string good = encodeKeyStatistics(statistics);
    const std::string body = good.substr(0, good.size() - 4);
    struct Damage {
        const char* name;
        std::string bytes;
    };
    std::string foreignMagic = good;
    foreignMagic[0] = 'X';
    std::string laterVersion = body;
    laterVersion[8] = 3;
    std::string flippedCount = good;
    flippedCount[12 + 4 * 0xE0] ^= 0x01;
    std::string flippedLatency = good;
    flippedLatency[264204 + 176 * 0xE0 + 8] ^= 0x01;
    std::string flippedChecksum = good;
    flippedChecksum[good.size() - 1] ^= 0x80;
    std::string badRecord = body;
    badRecord[264204 + 176 * 0xE0] = 65;  // latencies kept
    std::string badPair = body;
    badPair[309264 + 2] = 0;  // no latencies
    const Damage cases[] = {
        {"empty", ""},
        {"short", good.substr(0, good.size() - 1)},
        {"long", good + '\0'},
        {"foreign magic", foreignMagic},
        {"later version, checksum right", withChecksum(laterVersion)},
        {"a count changed", flippedCount},
        {"a latency changed", flippedLatency},
        {"checksum changed", flippedChecksum},
        {"a timing record malformed, checksum right", withChecksum(badRecord)},
        {"a pair malformed, checksum right", withChecksum(badPair)},
        {"a pair cut off, checksum right", withChecksum(body.substr(0, body.size() - 1))},
        {"text", std::string(good.size(), 'a')},
    };
    for (const Damage& damage : cases) EXPECT_FALSE(decodeKeyStatistics(damage.bytes).has_value()) << damage.name;
    EXPECT_TRUE(decodeKeyStatistics(withChecksum(body)).has_value()) << "the checksum is the IEEE one";
}

TEST(KeyStatistics, AVersion1FileIsUpgradedAtTheNextStoreKeepingItsCounts) {
    TempDir user;
    user.write(kRussianFile, version1File(someCounts()));
    const LoadedKeyStatistics old = loadKeyStatistics(user.file(kRussianFile));
    ASSERT_EQ(old.state, StoredFileState::valid);
    EXPECT_EQ(old.counts, someCounts());
    ASSERT_EQ(addKeyStatistics(user.path(), true, someCounts(), someKeystrokes()), KeySaveResult::saved);
    EXPECT_FALSE(platform::fileExists(user.file(kRussianFile + ".damaged"))) << "upgraded, not set aside";
    const std::string bytes = user.read(kRussianFile);
    EXPECT_EQ(u32At(bytes, 8), 2u);
    const LoadedKeyStatistics upgraded = loadKeyStatistics(user.file(kRussianFile));
    ASSERT_EQ(upgraded.state, StoredFileState::valid);
    EXPECT_EQ(upgraded.counts.correct(0xE0), 600u);
    EXPECT_EQ(upgraded.counts.confusion(0xE0, 0xEE), 2u);
    EXPECT_EQ(upgraded.timing.key(0xE0).latencies.size(), 30u) << "timing starts with this session";
}

TEST(KeyStatistics, EachSessionsTimingAddsToTheStoredOne) {
    TempDir user;
    ASSERT_EQ(addKeyStatistics(user.path(), false, someCounts(), someKeystrokes()), KeySaveResult::saved);
    ASSERT_EQ(addKeyStatistics(user.path(), false, someCounts(), someKeystrokes()), KeySaveResult::saved);
    const LoadedKeyStatistics loaded = loadKeyStatistics(user.file("Keys - Eng.dat"));
    ASSERT_EQ(loaded.state, StoredFileState::valid);
    EXPECT_EQ(loaded.timing.key(0xE0).latencies.size(), 60u);
    EXPECT_EQ(loaded.timing.key(0xE0).outcomes.size(), 62u);
    ASSERT_EQ(loaded.timing.pairs().size(), 1u);
    EXPECT_EQ(loaded.timing.pairs()[0].count, 60u);
    EXPECT_EQ(user.read("Keys - Eng.dat").size(), kKeyStatisticsSize + kPairRecordSize);
}

TEST(KeyStatistics, TheFirstSessionCreatesTheFileAndLaterOnesAddToIt) {
    TempDir user;
    EXPECT_EQ(loadKeyStatistics(user.file(kRussianFile)).state, StoredFileState::missing);
    ASSERT_EQ(addKeyStatistics(user.path(), true, someCounts()), KeySaveResult::saved);
    ASSERT_EQ(addKeyStatistics(user.path(), true, someCounts()), KeySaveResult::saved);
    const LoadedKeyStatistics loaded = loadKeyStatistics(user.file(kRussianFile));
    ASSERT_EQ(loaded.state, StoredFileState::valid);
    EXPECT_EQ(loaded.counts.correct(0xE0), 600u);
    EXPECT_EQ(loaded.counts.confusion(0xE0, 0xEE), 2u);
    EXPECT_FALSE(platform::fileExists(user.file("Keys - Eng.dat"))) << "English has its own file";
    EXPECT_FALSE(platform::fileExists(user.file(kRussianFile + ".new")));

    ASSERT_EQ(addKeyStatistics(user.path(), false, someCounts()), KeySaveResult::saved);
    EXPECT_EQ(loadKeyStatistics(user.file("Keys - Eng.dat")).counts.correct(0xE0), 300u);
}

TEST(KeyStatistics, ADamagedFileIsKeptAsideUnderAFreeNameAndCountingStartsAfresh) {
    TempDir user;
    const std::string foreign = "not statistics at all";
    user.write(kRussianFile, foreign);
    EXPECT_EQ(loadKeyStatistics(user.file(kRussianFile)).state, StoredFileState::damaged);
    ASSERT_EQ(addKeyStatistics(user.path(), true, someCounts()), KeySaveResult::saved);
    EXPECT_EQ(user.read(kRussianFile + ".damaged"), foreign);
    EXPECT_EQ(loadKeyStatistics(user.file(kRussianFile)).counts.correct(0xE0), 300u) << "afresh";

    const std::string shortFile = user.read(kRussianFile).substr(0, 100);
    user.write(kRussianFile, shortFile);
    ASSERT_EQ(addKeyStatistics(user.path(), true, someCounts()), KeySaveResult::saved);
    EXPECT_EQ(user.read(kRussianFile + ".damaged"), foreign) << "never overwritten";
    EXPECT_EQ(user.read(kRussianFile + ".damaged2"), shortFile);
    EXPECT_EQ(loadKeyStatistics(user.file(kRussianFile)).counts.correct(0xE0), 300u);
}

TEST(KeyStatistics, AFailureHalfWayLeavesTheOldFile) {
    TempDir user;
    ASSERT_EQ(addKeyStatistics(user.path(), true, someCounts()), KeySaveResult::saved);
    const std::string old = user.read(kRussianFile);
    for (const std::uint64_t allowance : {0ull, 11ull, 2060ull, 100000ull, kKeyStatisticsSize - 1ull}) {
        platform::ScopedFileFaults faults;
        faults.failWritesAfter(allowance);
        EXPECT_EQ(addKeyStatistics(user.path(), true, someCounts()), KeySaveResult::writeFailed) << allowance;
        EXPECT_EQ(user.read(kRussianFile), old) << allowance;
        EXPECT_FALSE(platform::fileExists(user.file(kRussianFile + ".new"))) << allowance;
    }
    EXPECT_EQ(addKeyStatistics(user.path(), true, someCounts()), KeySaveResult::saved);
    EXPECT_EQ(loadKeyStatistics(user.file(kRussianFile)).counts.correct(0xE0), 600u);
}

TEST(KeyStatistics, AFileThatCannotBeReadIsLeftAloneAndNothingIsWritten) {
    TempDir user;
    ASSERT_EQ(addKeyStatistics(user.path(), true, someCounts()), KeySaveResult::saved);
    const std::string old = user.read(kRussianFile);
    {
        platform::ScopedFileFaults faults;
        faults.failOpensOf(kRussianFile);
        EXPECT_EQ(loadKeyStatistics(user.file(kRussianFile)).state, StoredFileState::unreadable);
        EXPECT_EQ(addKeyStatistics(user.path(), true, someCounts()), KeySaveResult::unreadable);
    }
    EXPECT_EQ(user.read(kRussianFile), old);
    EXPECT_FALSE(platform::fileExists(user.file(kRussianFile + ".damaged")));
}

TEST(KeyStatistics, AMissingUserDirectoryIsAWriteFailure) {
    TempDir program;
    EXPECT_EQ(addKeyStatistics(program.file("nobody"), true, someCounts()), KeySaveResult::writeFailed);
}

}  // namespace
}  // namespace dactyla
