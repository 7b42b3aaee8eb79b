#include "progress/mastery.h"

#include <algorithm>
#include <vector>

namespace dactyla {
namespace {

constexpr double kMsPerMinute = 60000;
// Two keystrokes on one message tick read as 0 ms; no key is typed faster than this.
constexpr double kShortestLatencyMs = 1;

}  // namespace

std::optional<double> KeyFigures::cpm() const {
    if (!medianMs) return std::nullopt;
    return kMsPerMinute / std::max(*medianMs, kShortestLatencyMs);
}

double KeyFigures::smoothedErrorRate() const {
    return (static_cast<double>(recentErrors) + 1) / (static_cast<double>(recentKeystrokes) + 2);
}

KeyFigures keyFigures(std::span<const KeyTiming* const> timings) {
    KeyFigures figures;
    std::vector<std::uint16_t> latencies;
    for (const KeyTiming* timing : timings) {
        const std::vector<std::uint16_t> own = keptLatencies(*timing);
        latencies.insert(latencies.end(), own.begin(), own.end());
        for (std::size_t k = 0; k < timing->outcomes.size(); ++k) figures.recentErrors += timing->outcomes[k] ? 1 : 0;
        figures.recentKeystrokes += static_cast<std::uint32_t>(timing->outcomes.size());
        figures.hesitations += timing->hesitations;
        figures.hintedPresses += timing->hintedPresses;
    }
    figures.cleanSamples = static_cast<std::uint32_t>(latencies.size());
    figures.medianMs = medianOf(latencies);
    figures.p90Ms = percentileOf(std::move(latencies), kSlowShare);
    return figures;
}

KeyFigures keyFigures(const KeyTiming& timing) {
    const KeyTiming* one[] = {&timing};
    return keyFigures(one);
}

double speedConfidence(double medianMs, const MasteryTargets& targets) {
    return (kMsPerMinute / targets.targetCpm) / std::max(medianMs, kShortestLatencyMs);
}

double accuracyConfidence(double smoothedErrorRate, const MasteryTargets& targets) {
    if (smoothedErrorRate <= targets.errorLimit) return 1;
    if (smoothedErrorRate >= targets.errorZero) return 0;
    return (targets.errorZero - smoothedErrorRate) / (targets.errorZero - targets.errorLimit);
}

std::optional<double> mastery(const KeyFigures& figures, const MasteryTargets& targets) {
    if (figures.cleanSamples < targets.minCleanSamples || !figures.medianMs) return std::nullopt;
    return std::min(speedConfidence(*figures.medianMs, targets), accuracyConfidence(figures.smoothedErrorRate(), targets));
}

std::optional<double> mastery(const KeyTiming& timing, const MasteryTargets& targets) {
    return mastery(keyFigures(timing), targets);
}

}  // namespace dactyla
