#pragma once
// One mastery figure per key, speed and accuracy together, and the one set of defaults it is
// judged by. The course unlocks keys with it, the keyboard guide fades with it, the weak-key
// drill aims at it and the chart colours keys by it.
//
//   mastery = min(speed confidence, accuracy confidence)
//   speed confidence    = (60000 / targetCpm) / median clean latency
//   accuracy confidence = 1 up to errorLimit of the smoothed recent error rate
//                         (errors + 1) / (keystrokes + 2), falling linearly to 0 at errorZero
// With fewer than minCleanSamples clean latencies a key is not yet known: no number at all.
// 1 means the key is typed at the target speed within the error limit; the figure never
// exceeds 1, because the accuracy confidence does not.
#include <cstdint>
#include <optional>
#include <span>

#include "progress/key_timing.h"

namespace dactyla {

struct MasteryTargets {
    double targetCpm = 150;      // a calm touch typist's pace: 400 ms a key
    double errorLimit = 0.03;    // what the learner may miss and still be sure of the key
    double errorZero = 0.15;     // one keystroke in seven wrong: nothing learned yet
    std::uint32_t minCleanSamples = 20;  // fewer latencies give no steady median
    bool operator==(const MasteryTargets&) const = default;
};

inline constexpr MasteryTargets kDefaultMasteryTargets {};

// What the statistics say of a key: of one byte's timing, or of all the bytes a key types.
struct KeyFigures {
    std::uint32_t cleanSamples = 0;  // latencies kept
    std::optional<double> medianMs;
    std::optional<double> p90Ms;
    std::uint32_t recentKeystrokes = 0;  // outcomes kept
    std::uint32_t recentErrors = 0;
    std::uint32_t hesitations = 0;
    std::uint32_t hintedPresses = 0;

    // Characters per minute at the median latency; none without latencies.
    std::optional<double> cpm() const;
    // (errors + 1) / (keystrokes + 2) over the recent outcomes: a key seen little is not yet
    // taken to be perfect.
    double smoothedErrorRate() const;
};

KeyFigures keyFigures(const KeyTiming& timing);
// The latencies of all `timings` pooled, their outcomes and counts added.
KeyFigures keyFigures(std::span<const KeyTiming* const> timings);

double speedConfidence(double medianMs, const MasteryTargets& targets = kDefaultMasteryTargets);
double accuracyConfidence(double smoothedErrorRate, const MasteryTargets& targets = kDefaultMasteryTargets);

// In [0, 1]; none while the key has fewer than targets.minCleanSamples clean latencies.
std::optional<double> mastery(const KeyFigures& figures, const MasteryTargets& targets = kDefaultMasteryTargets);
std::optional<double> mastery(const KeyTiming& timing, const MasteryTargets& targets = kDefaultMasteryTargets);

}  // namespace dactyla
