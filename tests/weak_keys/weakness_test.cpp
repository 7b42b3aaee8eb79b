#include "weak_keys/weakness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "progress/key_map.h"

namespace dactyla {
namespace {

KeyIndex ru(unsigned char byte) { return keyIndexTable(true)[byte]; }

constexpr unsigned char kO = 0xEE;   // о
constexpr unsigned char kA = 0xE0;   // а
constexpr unsigned char kSh = 0xF8;  // ш
constexpr unsigned char kZh = 0xE6;  // ж
constexpr unsigned char kShch = 0xF9;  // щ

// Every key of the Russian layout typed `keystrokes` times with `wrong` mistakes, equally
// frequent in the text; changes are made per case.
WeaknessInput uniformInput(std::uint64_t keystrokes, std::uint64_t wrong) {
    WeaknessInput input;
    const std::size_t keys = keyboardLayout(true).size();
    input.keys.assign(keys, KeyEvidence {keystrokes, wrong, std::nullopt});
    input.keyFrequency.assign(keys, 1.0 / static_cast<double>(keys));
    return input;
}

std::vector<KeyIndex> keysOf(const WeakSpots& spots) {
    std::vector<KeyIndex> keys;
    for (const WeakKey& key : spots.keys) keys.push_back(key.key);
    return keys;
}

struct KeyCase {
    const char* name;
    WeaknessInput input;
    std::vector<KeyIndex> aimed;  // in order
};

WeaknessInput with(WeaknessInput input, unsigned char byte, std::uint64_t keystrokes, std::uint64_t wrong,
                   std::optional<double> mastery = std::nullopt) {
    input.keys[ru(byte)] = {keystrokes, wrong, mastery};
    return input;
}

WeaknessInput frequent(WeaknessInput input, unsigned char byte, double share) {
    input.keyFrequency[ru(byte)] = share;
    return input;
}

WeaknessInput timed(WeaknessInput input, double everyMastery) {
    input.timed = true;
    for (KeyEvidence& key : input.keys) key.mastery = everyMastery;
    return input;
}

TEST(WeakKeys, AreTheKeysWorseThanTheLearnersOwnRateWeightedByTheirShareOfTheText) {
    const std::vector<KeyCase> cases = {
        {"every key as good as the rest: none is weak", uniformInput(100, 3), {}},
        {"one key far worse than the rest", with(uniformInput(100, 1), kSh, 100, 30), {ru(kSh)}},
        {"two bad keys, the worse first", with(with(uniformInput(100, 1), kSh, 100, 20), kZh, 100, 40),
         {ru(kZh), ru(kSh)}},
        {"equally bad, the one the text asks for more often first",
         frequent(with(with(uniformInput(100, 1), kSh, 100, 30), kZh, 100, 30), kSh, 0.05), {ru(kSh), ru(kZh)}},
        {"a bad key the text never asks for is not aimed at",
         frequent(with(with(uniformInput(100, 1), kSh, 100, 30), kZh, 100, 30), kSh, 0.0), {ru(kZh)}},
        {"two keystrokes, one wrong, weigh less than a hundred with thirty",
         with(with(uniformInput(100, 1), kShch, 2, 1), kSh, 100, 30), {ru(kSh)}},
        {"a key under a quarter of the weakest's weight is left out",
         with(with(uniformInput(1000, 10), kSh, 1000, 400), kZh, 1000, 60), {ru(kSh)}},
        {"timed: keys by 1 - mastery",
         with(with(timed(uniformInput(100, 1), 1.0), kSh, 100, 0, 0.2), kZh, 100, 50, 0.6), {ru(kSh), ru(kZh)}},
        {"timed: a key without a mastery figure yet is not judged",
         with(with(timed(uniformInput(100, 1), 1.0), kSh, 100, 50, std::nullopt), kZh, 100, 0, 0.5), {ru(kZh)}},
        {"timed: mastery above 1 counts as mastered, below 0 as not learnt",
         with(with(timed(uniformInput(100, 1), 1.2), kSh, 100, 0, -0.5), kZh, 100, 0, 0.5), {ru(kSh), ru(kZh)}},
    };
    for (const KeyCase& test : cases) {
        const WeakSpots spots = findWeakSpots(test.input);
        ASSERT_TRUE(spots.enough) << test.name;
        EXPECT_EQ(keysOf(spots), test.aimed) << test.name;
        for (const WeakKey& key : spots.keys)
            EXPECT_DOUBLE_EQ(key.weight, key.badness * test.input.keyFrequency[key.key]) << test.name;
    }
}

TEST(WeakKeys, CountsOnlyBadnessIsTheSmoothedRateAboveTheLearnersRate) {
    WeaknessInput input = with(uniformInput(100, 0), kSh, 80, 20);
    const std::size_t keys = input.keys.size();
    const double overall = 20.0 / (100.0 * (keys - 1) + 80.0);
    const WeakSpots spots = findWeakSpots(input);
    ASSERT_EQ(spots.keys.size(), 1u);
    EXPECT_NEAR(spots.keys[0].badness, (20 + kPriorKeystrokes * overall) / (80 + kPriorKeystrokes) - overall, 1e-12);
}

TEST(WeakKeys, TooFewJudgedKeystrokesInTheLanguageAimAtNothing) {
    struct Case {
        std::uint64_t keystrokes;
        bool enough;
    };
    for (const Case test : {Case {0, false}, Case {299, false}, Case {300, true}, Case {5000, true}}) {
        // Half of them on ш, all wrong (щ typed instead), the rest on о, all right.
        WeaknessInput input = uniformInput(0, 0);
        input.keys[ru(kSh)] = {test.keystrokes / 2, test.keystrokes / 2, std::nullopt};
        input.keys[ru(kO)] = {test.keystrokes - test.keystrokes / 2, 0, std::nullopt};
        input.confusions = {{ru(kSh), ru(kShch), test.keystrokes / 2}};
        const WeakSpots spots = findWeakSpots(input);
        EXPECT_EQ(spots.judgedKeystrokes, test.keystrokes);
        EXPECT_EQ(spots.enough, test.enough) << test.keystrokes;
        EXPECT_EQ(spots.keys.empty(), !test.enough) << test.keystrokes;
        EXPECT_EQ(spots.confusions.empty(), !test.enough) << test.keystrokes;
    }
}

TEST(WeakConfusions, NeedFivePercentOfTheKeysPressesAndFiveEvents) {
    struct Case {
        const char* name;
        std::uint64_t keystrokes;  // of ш
        ConfusionEvidence confusion;
        bool kept;
    };
    const std::vector<Case> cases = {
        {"5 of 100", 100, {ru(kSh), ru(kShch), 5}, true},
        {"4 of 80: five percent but four events", 80, {ru(kSh), ru(kShch), 4}, false},
        {"5 of 101: under five percent", 101, {ru(kSh), ru(kShch), 5}, false},
        {"40 of 400", 400, {ru(kSh), ru(kShch), 40}, true},
        {"the key typed for itself (a Shift slip) is no confusion", 100, {ru(kSh), ru(kSh), 50}, false},
        {"a key outside the layout", 100, {kNoKey, ru(kSh), 50}, false},
    };
    for (const Case& test : cases) {
        WeaknessInput input = with(uniformInput(100, 1), kSh, test.keystrokes, test.confusion.count);
        input.confusions = {test.confusion};
        const WeakSpots spots = findWeakSpots(input);
        ASSERT_EQ(spots.confusions.size(), test.kept ? 1u : 0u) << test.name;
        if (test.kept) {
            EXPECT_DOUBLE_EQ(spots.confusions[0].share,
                             static_cast<double>(test.confusion.count) / static_cast<double>(test.keystrokes));
            EXPECT_EQ(spots.confusions[0].typed, ru(kShch));
        }
    }
}

TEST(WeakConfusions, StrongestFirstAndAtMostEight) {
    WeaknessInput input = uniformInput(100, 1);
    for (unsigned k = 0; k < 12; ++k) input.confusions.push_back({static_cast<KeyIndex>(k), 20, 5 + k});
    const WeakSpots spots = findWeakSpots(input);
    ASSERT_EQ(spots.confusions.size(), kMostConfusions);
    EXPECT_EQ(spots.confusions.front().count, 16u);
    for (std::size_t k = 1; k < spots.confusions.size(); ++k)
        EXPECT_GE(spots.confusions[k - 1].share, spots.confusions[k].share);
}

TEST(SlowPairs, NeedTenSamplesAndAMedianHalfAsSlowAgainAsTheLearners) {
    struct Case {
        const char* name;
        std::optional<double> userMedian;
        PairEvidence pair;
        bool kept;
    };
    const std::vector<Case> cases = {
        {"10 samples at 1.5 times", 200.0, {ru(kSh), ru(kA), 10, 300.0}, true},
        {"9 samples", 200.0, {ru(kSh), ru(kA), 9, 900.0}, false},
        {"1.49 times", 200.0, {ru(kSh), ru(kA), 50, 298.0}, false},
        {"no median of the learner's yet", std::nullopt, {ru(kSh), ru(kA), 50, 900.0}, false},
        {"a key outside the layout", 200.0, {kNoKey, ru(kA), 50, 900.0}, false},
    };
    for (const Case& test : cases) {
        WeaknessInput input = uniformInput(100, 1);
        input.userMedianMs = test.userMedian;
        input.pairs = {test.pair};
        const WeakSpots spots = findWeakSpots(input);
        ASSERT_EQ(spots.pairs.size(), test.kept ? 1u : 0u) << test.name;
        if (test.kept) {
            EXPECT_DOUBLE_EQ(spots.pairs[0].slowness, test.pair.medianMs / *test.userMedian - 1);
        }
    }
}

TEST(CountsEvidence, JoinsBothCasesOfAKeyAndCountsConfusionsBetweenKeysOnly) {
    KeyCounts counts;
    for (int k = 0; k < 50; ++k) counts.countCorrect(kO);
    for (int k = 0; k < 10; ++k) counts.countCorrect(0xCE);  // О
    for (int k = 0; k < 6; ++k) counts.countWrong(kO, kA);   // а for о
    counts.countWrong(0xCE, 0xC0);                             // А for О: the same two keys
    counts.countWrong(kO, 0xCE);                               // О for о: Shift
    counts.countWrong(kO, 0x01);                               // a byte no key types
    const WeaknessInput input = evidenceFromCounts(counts, true);
    ASSERT_EQ(input.keys.size(), keyboardLayout(true).size());
    EXPECT_EQ(input.keys[ru(kO)].keystrokes, 69u);
    EXPECT_EQ(input.keys[ru(kO)].wrong, 9u);
    ASSERT_EQ(input.confusions.size(), 1u);
    EXPECT_EQ(input.confusions[0].expected, ru(kO));
    EXPECT_EQ(input.confusions[0].typed, ru(kA));
    EXPECT_EQ(input.confusions[0].count, 7u);
}

TEST(KeyFrequencies, AreSharesOfTheKeystrokesTheTextAsksFor) {
    // "Аа ш\r\n": А and а are one key; CR and LF are typed by no key of the layout.
    const std::vector<double> shares = keyFrequencies("\xC0\xE0 \xF8\r\n", true);
    EXPECT_DOUBLE_EQ(shares[ru(kA)], 0.5);
    EXPECT_DOUBLE_EQ(shares[ru(' ')], 0.25);
    EXPECT_DOUBLE_EQ(shares[ru(kSh)], 0.25);
    EXPECT_EQ(keyFrequencies("", false), std::vector<double>(keyboardLayout(false).size(), 0.0));
}

}  // namespace
}  // namespace dactyla
