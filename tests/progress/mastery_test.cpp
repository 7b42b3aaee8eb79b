// The mastery figure and the per-key timing record it is computed from.
#include "progress/mastery.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace dactyla {
namespace {

CorrectPress clean(std::uint32_t latencyMs) { return {.timed = true, .latencyMs = latencyMs, .reactionMs = latencyMs}; }

// `right` clean presses of `latencyMs` and `wrong` wrong ones.
KeyTiming typed(unsigned right, std::uint32_t latencyMs, unsigned wrong = 0) {
    KeyTiming timing;
    for (unsigned k = 0; k < wrong; ++k) recordWrongPress(timing, false);
    for (unsigned k = 0; k < right; ++k) EXPECT_EQ(recordCorrectPress(timing, clean(latencyMs)), PressKind::clean);
    return timing;
}

struct MasteryCase {
    const char* name;
    unsigned right;
    std::uint32_t latencyMs;
    unsigned wrong;
    MasteryTargets targets;
    std::optional<double> expected;
};

TEST(Mastery, IsTheLesserOfSpeedAndAccuracyAndUnknownBelowTwentyCleanSamples) {
    const MasteryTargets defaults;
    MasteryTargets fast;
    fast.targetCpm = 300;
    MasteryTargets lenient;
    lenient.errorLimit = 0.10;
    lenient.errorZero = 0.20;
    MasteryTargets patient;
    patient.minCleanSamples = 40;
    // (errors + 1) / (keystrokes + 2): 98 keystrokes with k errors give (k + 1) %.
    const MasteryCase cases[] = {
        {"no keystrokes", 0, 0, 0, defaults, std::nullopt},
        {"19 clean samples", 19, 400, 0, defaults, std::nullopt},
        {"19 clean samples and many errors", 19, 400, 50, defaults, std::nullopt},
        {"at the target speed, 2 % errors", 96, 400, 1, defaults, 1.0},
        {"half the target speed", 96, 800, 1, defaults, 0.5},
        {"twice the target speed is still 1", 96, 200, 1, defaults, 1.0},
        {"exactly at the error limit", 96, 400, 2, defaults, 1.0},
        {"halfway to the error zero", 90, 400, 8, defaults, 0.5},
        {"at the error zero", 84, 400, 14, defaults, 0.0},
        {"beyond the error zero", 64, 100, 40, defaults, 0.0},
        {"slow and shaky: the slower of both", 90, 1000, 8, defaults, 0.4},
        {"20 perfect samples are not yet sure", 20, 400, 0, defaults, (0.15 - 1.0 / 22) / 0.12},
        {"a higher target", 96, 400, 1, fast, 0.5},
        {"a wider error band", 89, 400, 9, lenient, 1.0},
        {"a wider error band, halfway", 84, 400, 14, lenient, 0.5},
        {"more samples asked for", 39, 400, 0, patient, std::nullopt},
    };
    for (const MasteryCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<double> m = mastery(typed(c.right, c.latencyMs, c.wrong), c.targets);
        ASSERT_EQ(m.has_value(), c.expected.has_value());
        if (m) {
            EXPECT_NEAR(*m, *c.expected, 1e-9);
        }
    }
}

TEST(Mastery, ConfidencesAtTheirEdges) {
    EXPECT_DOUBLE_EQ(speedConfidence(400), 1.0);
    EXPECT_DOUBLE_EQ(speedConfidence(0), 400.0) << "a latency of 0 ms counts as 1 ms";
    EXPECT_DOUBLE_EQ(accuracyConfidence(0.0), 1.0);
    EXPECT_DOUBLE_EQ(accuracyConfidence(0.03), 1.0);
    EXPECT_DOUBLE_EQ(accuracyConfidence(0.15), 0.0);
    EXPECT_DOUBLE_EQ(accuracyConfidence(1.0), 0.0);
    MasteryTargets sharp;
    sharp.errorLimit = sharp.errorZero = 0.05;
    EXPECT_DOUBLE_EQ(accuracyConfidence(0.05, sharp), 1.0) << "no band: a step, not a division by zero";
    EXPECT_DOUBLE_EQ(accuracyConfidence(0.0501, sharp), 0.0);
}

TEST(Mastery, HintedKeystrokesEarnNothingAndAreCountedApart) {
    KeyTiming timing = typed(30, 400);
    const std::optional<double> before = mastery(timing);
    for (int k = 0; k < 40; ++k) {
        EXPECT_EQ(recordCorrectPress(timing, {.timed = true, .hinted = true, .latencyMs = 100}), PressKind::hinted);
        recordWrongPress(timing, true);
    }
    EXPECT_EQ(mastery(timing), before);
    EXPECT_EQ(timing.hintedPresses, 80u);
    EXPECT_EQ(keyFigures(timing).hintedPresses, 80u);
    EXPECT_EQ(timing.latencies.size(), 30u);
    EXPECT_EQ(timing.outcomes.size(), 30u);
}

TEST(KeyTimingRecord, HesitationsAndUntimedPressesStayOutOfTheSpeed) {
    KeyTiming first;
    EXPECT_EQ(hesitationThresholdMs(first), 2000u) << "no median yet";
    EXPECT_EQ(recordCorrectPress(first, clean(2000)), PressKind::clean) << "at the threshold";
    KeyTiming waited;
    EXPECT_EQ(recordCorrectPress(waited, clean(2001)), PressKind::hesitation);
    EXPECT_EQ(recordCorrectPress(waited, {.timed = false, .latencyMs = 50}), PressKind::untimed);
    EXPECT_EQ(recordCorrectPress(waited, clean(19)), PressKind::untimed) << "faster than a finger";
    EXPECT_EQ(recordCorrectPress(waited, clean(0)), PressKind::untimed);
    EXPECT_EQ(recordCorrectPress(waited, clean(20)), PressKind::clean);
    EXPECT_EQ(waited.latencies.size(), 1u);
    EXPECT_EQ(waited.outcomes.size(), 5u) << "every unhinted press is an outcome";
    EXPECT_EQ(waited.hesitations, 1u);

    KeyTiming slow = typed(5, 1000);
    EXPECT_EQ(hesitationThresholdMs(slow), 3000u) << "three times a median above the floor";
    EXPECT_EQ(recordCorrectPress(slow, clean(3000)), PressKind::clean);
    EXPECT_EQ(recordCorrectPress(slow, clean(3001)), PressKind::hesitation);

    // Each within three times the median so far, up to beyond 16 bits.
    KeyTiming glacial;
    for (const std::uint32_t latency : {2000u, 6000u, 12000u, 18000u, 27000u, 36000u, 45000u, 54000u, 67000u})
        EXPECT_EQ(recordCorrectPress(glacial, clean(latency)), PressKind::clean) << latency;
    EXPECT_EQ(glacial.latencies[8], 0xFFFF) << "kept in 16 bits";
}

TEST(KeyTimingRecord, ReactionIsTheFirstPressAndNeverAboveTheLatency) {
    KeyTiming timing;
    recordCorrectPress(timing, {.timed = true, .latencyMs = 900, .reactionMs = 300});
    recordCorrectPress(timing, {.timed = true, .latencyMs = 200, .reactionMs = 200});
    recordCorrectPress(timing, {.timed = true, .latencyMs = 100, .reactionMs = 500});
    EXPECT_EQ(timing.reactionCount, 3u);
    EXPECT_EQ(timing.reactionSumMs, 600u);
}

TEST(KeyTimingRecord, RingsKeepTheNewestInOrder) {
    KeyTiming timing;
    for (std::uint32_t k = 1; k <= 70; ++k) recordCorrectPress(timing, clean(100 + k));
    ASSERT_EQ(timing.latencies.size(), kLatencySamples);
    EXPECT_EQ(timing.latencies[0], 107);
    EXPECT_EQ(timing.latencies[63], 170);
    for (int k = 0; k < 200; ++k) recordWrongPress(timing, false);
    EXPECT_EQ(timing.outcomes.size(), kOutcomeSamples);
    EXPECT_EQ(keyFigures(timing).recentErrors, kOutcomeSamples) << "the right ones fell out";

    Ring<int, 3> a;
    Ring<int, 3> b;
    for (int v : {9, 1, 2, 3}) a.push(v);
    for (int v : {1, 2, 3}) b.push(v);
    EXPECT_EQ(a, b) << "the same values in the same order, wherever the ring starts";
    b.push(4);
    EXPECT_NE(a, b);
}

TEST(KeyTimingRecord, MedianAndNinetiethPercentile) {
    struct Case {
        std::vector<std::uint16_t> values;
        std::optional<double> median;
        std::optional<double> p90;
    };
    std::vector<std::uint16_t> hundred;
    for (std::uint16_t k = 100; k >= 1; --k) hundred.push_back(k);
    const Case cases[] = {
        {{}, std::nullopt, std::nullopt},
        {{250}, 250, 250},
        {{300, 100}, 200, 300},
        {{5, 1, 3}, 3, 5},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 5.5, 9},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, 6, 10},
        {hundred, 50.5, 90},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(medianOf(c.values), c.median);
        EXPECT_EQ(percentileOf(c.values, kSlowShare), c.p90);
    }
}

TEST(KeyTimingRecord, KeyFiguresPoolTheBytesOfOneKey) {
    const KeyTiming lower = typed(30, 300, 1);
    const KeyTiming upper = typed(11, 900, 3);
    const KeyTiming* both[] = {&lower, &upper};
    const KeyFigures figures = keyFigures(both);
    EXPECT_EQ(figures.cleanSamples, 41u);
    EXPECT_EQ(figures.medianMs, 300.0);
    EXPECT_EQ(figures.p90Ms, 900.0);
    EXPECT_EQ(figures.recentKeystrokes, 45u);
    EXPECT_EQ(figures.recentErrors, 4u);
    EXPECT_DOUBLE_EQ(figures.smoothedErrorRate(), 5.0 / 47);
    EXPECT_DOUBLE_EQ(*figures.cpm(), 200.0);
    EXPECT_FALSE(keyFigures(KeyTiming {}).cpm().has_value());
}

TEST(KeyTimingRecord, SessionsAreSmoothedWithOneTenthForTheNewest) {
    KeyTiming timing;
    smoothSession(timing, 500);
    EXPECT_EQ(timing.smoothedLatencyUs, 500000u) << "the first session sets it";
    smoothSession(timing, 300);
    EXPECT_EQ(timing.smoothedLatencyUs, 480000u);
    KeyTiming instant;
    smoothSession(instant, 0);
    EXPECT_EQ(instant.smoothedLatencyUs, 1u) << "0 is kept for no session yet";
}

}  // namespace
}  // namespace dactyla
