#include "progress/key_timing.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace dactyla {
namespace {

std::uint32_t saturatingIncrement(std::uint32_t count) {
    return count == std::numeric_limits<std::uint32_t>::max() ? count : count + 1;
}

}  // namespace

std::optional<double> medianOf(std::vector<std::uint16_t> latencies) {
    if (latencies.empty()) return std::nullopt;
    std::sort(latencies.begin(), latencies.end());
    const std::size_t middle = latencies.size() / 2;
    if (latencies.size() % 2 == 1) return latencies[middle];
    return (static_cast<double>(latencies[middle - 1]) + latencies[middle]) / 2;
}

std::optional<double> percentileOf(std::vector<std::uint16_t> latencies, double share) {
    if (latencies.empty()) return std::nullopt;
    std::sort(latencies.begin(), latencies.end());
    // The tolerance keeps 0.9 × 10 at rank 9 whatever the rounding of 0.9.
    const auto rank = static_cast<std::size_t>(std::ceil(share * static_cast<double>(latencies.size()) - 1e-9));
    return latencies[std::clamp<std::size_t>(rank, 1, latencies.size()) - 1];
}

std::vector<std::uint16_t> keptLatencies(const KeyTiming& timing) {
    std::vector<std::uint16_t> latencies(timing.latencies.size());
    for (std::size_t k = 0; k < latencies.size(); ++k) latencies[k] = timing.latencies[k];
    return latencies;
}

std::optional<double> medianLatencyMs(const KeyTiming& timing) { return medianOf(keptLatencies(timing)); }

std::uint32_t hesitationThresholdMs(const KeyTiming& timing) {
    const std::optional<double> median = medianLatencyMs(timing);
    if (!median) return kHesitationFloorMs;
    return std::max(kHesitationFloorMs, static_cast<std::uint32_t>(kHesitationFactor * *median));
}

void recordWrongPress(KeyTiming& timing, bool hinted) {
    if (hinted)
        timing.hintedPresses = saturatingIncrement(timing.hintedPresses);
    else
        timing.outcomes.push(true);
}

PressKind recordCorrectPress(KeyTiming& timing, const CorrectPress& press) {
    if (press.hinted) {
        timing.hintedPresses = saturatingIncrement(timing.hintedPresses);
        return PressKind::hinted;
    }
    timing.outcomes.push(false);
    if (!press.timed || press.latencyMs < kFastestLatencyMs) return PressKind::untimed;
    if (press.latencyMs > hesitationThresholdMs(timing)) {
        timing.hesitations = saturatingIncrement(timing.hesitations);
        return PressKind::hesitation;
    }
    timing.latencies.push(static_cast<std::uint16_t>(std::min(press.latencyMs, kLongestKeptLatencyMs)));
    if (timing.reactionCount < std::numeric_limits<std::uint32_t>::max()) {
        ++timing.reactionCount;
        timing.reactionSumMs += std::min(press.reactionMs, press.latencyMs);
    }
    return PressKind::clean;
}

void smoothSession(KeyTiming& timing, double sessionMeanMs) {
    const double sessionUs = sessionMeanMs * 1000;
    const double smoothed =
        timing.smoothedLatencyUs == 0 ? sessionUs : kSmoothing * sessionUs + (1 - kSmoothing) * timing.smoothedLatencyUs;
    // At least 1 µs, so a session of zero latencies still counts as smoothed.
    timing.smoothedLatencyUs = static_cast<std::uint32_t>(std::clamp<long long>(
        std::llround(smoothed), 1, std::numeric_limits<std::uint32_t>::max()));
}

}  // namespace dactyla
