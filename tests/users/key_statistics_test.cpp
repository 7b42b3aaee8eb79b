#include "users/key_statistics.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fault_injection.h"
#include "platform/file.h"
#include "support/temp_dir.h"

namespace dactyla {
namespace {

using testing::TempDir;

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

TEST(KeyStatisticsFile, HasTheDocumentedLayoutAndReadsBackWhatWasWritten) {
    const KeyCounts counts = someCounts();
    const std::string bytes = encodeKeyStatistics(counts);
    ASSERT_EQ(bytes.size(), kKeyStatisticsSize);
    EXPECT_EQ(bytes.substr(0, 8), "DactKeys");
    EXPECT_EQ(u32At(bytes, 8), 1u) << "version";
    EXPECT_EQ(u32At(bytes, 12 + 4 * 0xE0), 300u) << "correct 'а'";
    EXPECT_EQ(u32At(bytes, 1036 + 4 * 0xE0), 1u) << "wrong 'а'";
    EXPECT_EQ(u32At(bytes, 2060 + 4 * (0xE0 * 256 + 0xEE)), 1u) << "'о' for 'а'";
    EXPECT_EQ(u32At(bytes, 2060 + 4 * (' ' * 256 + 'x')), 1u);
    const auto decoded = decodeKeyStatistics(bytes);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, counts);
}

TEST(KeyStatisticsFile, AnythingButAnIntactFileIsRefused) {
    const std::string good = encodeKeyStatistics(someCounts());
    struct Damage {
        const char* name;
        std::string bytes;
    };
    std::string foreignMagic = good;
    foreignMagic[0] = 'X';
    std::string laterVersion = good;
    laterVersion[8] = 2;
    std::string flippedCount = good;
    flippedCount[12 + 4 * 0xE0] ^= 0x01;
    std::string flippedChecksum = good;
    flippedChecksum[kKeyStatisticsSize - 1] ^= 0x80;
    const Damage cases[] = {
        {"empty", ""},
        {"short", good.substr(0, kKeyStatisticsSize - 1)},
        {"long", good + '\0'},
        {"foreign magic", foreignMagic},
        {"later version", laterVersion},
        {"a count changed", flippedCount},
        {"checksum changed", flippedChecksum},
        {"text", std::string(kKeyStatisticsSize, 'a')},
    };
    for (const Damage& damage : cases) EXPECT_FALSE(decodeKeyStatistics(damage.bytes).has_value()) << damage.name;
}

TEST(KeyStatistics, TheFirstSessionCreatesTheFileAndLaterOnesAddToIt) {
    TempDir user;
    EXPECT_EQ(loadKeyStatistics(user.file(kRussianFile)).state, KeyFileState::missing);
    ASSERT_EQ(addKeyStatistics(user.path(), true, someCounts()), KeySaveResult::saved);
    ASSERT_EQ(addKeyStatistics(user.path(), true, someCounts()), KeySaveResult::saved);
    const LoadedKeyStatistics loaded = loadKeyStatistics(user.file(kRussianFile));
    ASSERT_EQ(loaded.state, KeyFileState::valid);
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
    EXPECT_EQ(loadKeyStatistics(user.file(kRussianFile)).state, KeyFileState::damaged);
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
        EXPECT_EQ(loadKeyStatistics(user.file(kRussianFile)).state, KeyFileState::unreadable);
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
