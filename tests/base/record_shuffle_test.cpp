#include "base/record_shuffle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "base/random.h"

namespace dactyla {
namespace {

TEST(Random, ReproducesTheClassicSequence) {
    seedRandom(1);
    EXPECT_EQ(nextRandom(), 41);
    EXPECT_EQ(nextRandom(), 18467);
    EXPECT_EQ(nextRandom(), 6334);
    EXPECT_EQ(nextRandom(), 26500);
    EXPECT_EQ(nextRandom(), 19169);
}

// The draw the second pass will make for n = 2 after seeding with `tick`: the first pass
// consumes one value.
int secondPassDraw(std::uint32_t tick) {
    seedRandom(tick | 0x08050201u);
    nextRandom();
    return nextRandom();
}

TEST(RecordShuffle, TwoRecordsStaySwappedExactlyWhenTheSecondDrawIsAtMostHalf) {
    int swappedSeen = 0, restoredSeen = 0;
    for (std::uint32_t tick = 0; tick < 64; ++tick) {
        std::uint8_t records[2] = {'a', 'b'};
        recordShuffleAt(tick, records, 2, 1);
        const bool expectSwapped = secondPassDraw(tick) <= 16384;
        EXPECT_EQ(records[0], expectSwapped ? 'b' : 'a') << "tick " << tick;
        EXPECT_EQ(records[1], expectSwapped ? 'a' : 'b') << "tick " << tick;
        (expectSwapped ? swappedSeen : restoredSeen)++;
    }
    EXPECT_GT(swappedSeen, 0);
    EXPECT_GT(restoredSeen, 0);
}

TEST(RecordShuffle, ZeroOrOneRecordIsLeftAloneButTheGeneratorIsReseeded) {
    std::uint8_t one[1] = {7};
    recordShuffleAt(5, one, 1, 1);
    EXPECT_EQ(one[0], 7);
    const int afterShuffle = nextRandom();
    seedRandom(5 | 0x08050201u);
    EXPECT_EQ(afterShuffle, nextRandom());
    recordShuffleAt(5, nullptr, 0, 3);
}

TEST(RecordShuffle, ThreeByteRecordsMoveWhole) {
    std::vector<std::uint8_t> records;
    for (int k = 0; k < 500; ++k) {
        records.push_back(static_cast<std::uint8_t>(k));
        records.push_back(static_cast<std::uint8_t>(k >> 8));
        records.push_back(0xFF);
    }
    const auto original = records;
    recordShuffleAt(1234, records.data(), 500, 3);
    EXPECT_NE(records, original);
    std::vector<int> seen;
    for (int k = 0; k < 500; ++k) {
        EXPECT_EQ(records[3 * k + 2], 0xFF);
        seen.push_back(records[3 * k] | records[3 * k + 1] << 8);
    }
    std::sort(seen.begin(), seen.end());
    std::vector<int> expected(500);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(seen, expected);
}

TEST(RecordShuffle, AllOnesRecordsOfEverySizeSurvivePacking) {
    for (unsigned size = 1; size <= 4; ++size) {
        std::vector<std::uint8_t> records(size * 10, 0xFF);
        records[0] = 0;  // one record differs, so movement is visible
        recordShuffleAt(99, records.data(), 10, size);
        EXPECT_EQ(std::count(records.begin(), records.end(), 0xFF), static_cast<long>(size * 10 - 1));
        EXPECT_EQ(std::count(records.begin(), records.end(), 0), 1);
    }
}

TEST(RecordShuffle, SameTickAndCountGiveTheSamePermutation) {
    std::vector<std::uint8_t> a(40), b(40);
    std::iota(a.begin(), a.end(), 0);
    std::iota(b.begin(), b.end(), 0);
    recordShuffleAt(777, a.data(), 40, 1);
    recordShuffleAt(777, b.data(), 40, 1);
    EXPECT_EQ(a, b);
}

TEST(RecordShuffle, SizesOutsideOneToFourLeaveTheRecords) {
    std::vector<std::uint8_t> records = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const auto original = records;
    recordShuffleAt(3, records.data(), 2, 5);
    recordShuffleAt(3, records.data(), 10, 0);
    EXPECT_EQ(records, original);
    recordShuffleAt(3, records.data(), 5, 0x102) ;  // only the low byte of the size counts: 2
    EXPECT_NE(records, original);
}

TEST(RecordShuffle, LargeCountsStayInsideTheArrayAndKeepEveryRecord) {
    // Past 32766 records the second pass can draw a negative step; every record must survive.
    constexpr int kCount = 70000;
    std::vector<std::uint8_t> records(kCount * 3);
    for (int k = 0; k < kCount; ++k) {
        records[3 * k] = static_cast<std::uint8_t>(k);
        records[3 * k + 1] = static_cast<std::uint8_t>(k >> 8);
        records[3 * k + 2] = static_cast<std::uint8_t>(k >> 16);
    }
    for (std::uint32_t tick = 0; tick < 4; ++tick) recordShuffleAt(tick, records.data(), kCount, 3);
    std::vector<int> seen(kCount);
    for (int k = 0; k < kCount; ++k) seen[k] = records[3 * k] | records[3 * k + 1] << 8 | records[3 * k + 2] << 16;
    std::sort(seen.begin(), seen.end());
    for (int k = 0; k < kCount; ++k) ASSERT_EQ(seen[k], k);
}

// The shuffle as first written, a draw of the generator at a time, to hold the faster one to.
std::vector<std::uint32_t> referenceShuffle(std::uint32_t tick, std::vector<std::uint32_t> a) {
    seedRandom(tick | 0x08050201u);
    if (a.size() < 2) return a;
    for (std::uint32_t k = 1; k < a.size(); ++k) {
        std::uint32_t r = static_cast<std::uint32_t>(nextRandom()) & 0x7FFFu;
        for (std::uint32_t m = 0x7FFFu; m < k && m != 0xFFFFFFFFu; m = (m << 15) | 0x7FFFu) r = (r << 15) | 0x7FFFu;
        std::swap(a[k], a[r % k]);
    }
    for (std::size_t i = 0; a.size() - i > 1; ++i) {
        const auto t = static_cast<std::int64_t>((nextRandom() - 1) * (1.0 / 32767.0) * static_cast<double>(a.size() - i));
        std::swap(a[i], a[i + static_cast<std::size_t>(std::max<std::int64_t>(t, 0))]);
    }
    return a;
}

TEST(RecordShuffle, BothFormsGiveTheOrderOfTheFirstShuffleAndLeaveTheGeneratorWhereItLeftIt) {
    // Around the widening of the draw past 32767 places, and a text's worth of sentences.
    for (const std::size_t count : {0u, 1u, 2u, 3u, 100u, 32767u, 32768u, 32769u, 32770u, 70000u, 291516u}) {
        for (const std::uint32_t tick : {0u, 0x9E3779B9u}) {
            std::vector<std::uint32_t> values(count);
            std::iota(values.begin(), values.end(), 0x00ABCD00u);
            const auto expected = referenceShuffle(tick, values);
            const int nextAfterReference = nextRandom();

            auto shuffled = values;
            valueShuffleAt(tick, shuffled.data(), shuffled.size());
            EXPECT_EQ(shuffled, expected) << count << " values, tick " << tick;
            EXPECT_EQ(nextRandom(), nextAfterReference) << count << " values, tick " << tick;

            std::vector<std::uint8_t> records(count * 3);
            for (std::size_t k = 0; k < count; ++k)
                for (unsigned j = 0; j < 3; ++j) records[3 * k + j] = static_cast<std::uint8_t>(values[k] >> (8 * j));
            recordShuffleAt(tick, records.data(), static_cast<std::int32_t>(count), 3);
            for (std::size_t k = 0; k < count; ++k) {
                const std::uint32_t value = records[3 * k] | records[3 * k + 1] << 8 | records[3 * k + 2] << 16;
                ASSERT_EQ(value, expected[k] & 0xFFFFFFu) << count << " records, at " << k;
            }
        }
    }
}

}  // namespace
}  // namespace dactyla
