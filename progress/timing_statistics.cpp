#include "progress/timing_statistics.h"

#include <algorithm>
#include <array>
#include <limits>

#include "platform/little_endian.h"

namespace dactyla {
namespace {

constexpr std::size_t kByteValues = 256;
constexpr std::size_t kMostPairs = kByteValues * kByteValues;

// One key's record.
constexpr std::size_t kLatencyCountAt = 0;
constexpr std::size_t kOutcomeCountAt = 4;
constexpr std::size_t kLatenciesAt = 8;
constexpr std::size_t kOutcomesAt = kLatenciesAt + 2 * kLatencySamples;
constexpr std::size_t kHesitationsAt = kOutcomesAt + kOutcomeSamples / 8;
constexpr std::size_t kHintedAt = kHesitationsAt + 4;
constexpr std::size_t kSmoothedAt = kHintedAt + 4;
constexpr std::size_t kReactionCountAt = kSmoothedAt + 4;
constexpr std::size_t kReactionSumAt = kReactionCountAt + 4;
static_assert(kReactionSumAt + 8 == kKeyTimingRecordSize);

// One pair's record.
constexpr std::size_t kPairKeptAt = 2;
constexpr std::size_t kPairCountAt = 4;
constexpr std::size_t kPairSumAt = 8;
constexpr std::size_t kPairLatenciesAt = 16;
static_assert(kPairLatenciesAt + 2 * kPairSamples == kPairRecordSize);

constexpr std::size_t kKeysSize = kByteValues * kKeyTimingRecordSize;

std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b) {
    return b > std::numeric_limits<std::uint64_t>::max() - a ? std::numeric_limits<std::uint64_t>::max() : a + b;
}

void put64(std::uint8_t* at, std::uint64_t value) {
    putLe(at, static_cast<std::uint32_t>(value), 4);
    putLe(at + 4, static_cast<std::uint32_t>(value >> 32), 4);
}

std::uint64_t read64(const std::uint8_t* at) { return readLe(at, 4) | std::uint64_t {readLe(at + 4, 4)} << 32; }

bool allZero(const std::uint8_t* at, std::size_t size) {
    return std::all_of(at, at + size, [](std::uint8_t byte) { return byte == 0; });
}

// Oldest first, the slots behind the kept values zero.
template <std::size_t N>
void putLatencies(std::uint8_t* at, const Ring<std::uint16_t, N>& ring) {
    for (std::size_t k = 0; k < ring.size(); ++k) putLe(at + 2 * k, ring[k], 2);
}

template <std::size_t N>
bool readLatencies(const std::uint8_t* at, std::size_t kept, Ring<std::uint16_t, N>& ring) {
    if (kept > N || !allZero(at + 2 * kept, 2 * (N - kept))) return false;
    for (std::size_t k = 0; k < kept; ++k) ring.push(static_cast<std::uint16_t>(readLe(at + 2 * k, 2)));
    return true;
}

void putKey(std::uint8_t* at, const KeyTiming& timing) {
    putLe(at + kLatencyCountAt, static_cast<std::uint32_t>(timing.latencies.size()), 4);
    putLe(at + kOutcomeCountAt, static_cast<std::uint32_t>(timing.outcomes.size()), 4);
    putLatencies(at + kLatenciesAt, timing.latencies);
    for (std::size_t k = 0; k < timing.outcomes.size(); ++k)
        if (timing.outcomes[k]) at[kOutcomesAt + k / 8] |= static_cast<std::uint8_t>(1u << (k % 8));
    putLe(at + kHesitationsAt, timing.hesitations, 4);
    putLe(at + kHintedAt, timing.hintedPresses, 4);
    putLe(at + kSmoothedAt, timing.smoothedLatencyUs, 4);
    putLe(at + kReactionCountAt, timing.reactionCount, 4);
    put64(at + kReactionSumAt, timing.reactionSumMs);
}

bool readKey(const std::uint8_t* at, KeyTiming& timing) {
    const std::uint32_t outcomes = readLe(at + kOutcomeCountAt, 4);
    if (!readLatencies(at + kLatenciesAt, readLe(at + kLatencyCountAt, 4), timing.latencies) ||
        outcomes > kOutcomeSamples)
        return false;
    for (std::size_t k = 0; k < kOutcomeSamples; ++k) {
        const bool wrong = (at[kOutcomesAt + k / 8] >> (k % 8) & 1) != 0;
        if (k < outcomes)
            timing.outcomes.push(wrong);
        else if (wrong)
            return false;
    }
    timing.hesitations = readLe(at + kHesitationsAt, 4);
    timing.hintedPresses = readLe(at + kHintedAt, 4);
    timing.smoothedLatencyUs = readLe(at + kSmoothedAt, 4);
    timing.reactionCount = readLe(at + kReactionCountAt, 4);
    timing.reactionSumMs = read64(at + kReactionSumAt);
    return true;
}

void putPair(std::uint8_t* at, const PairTiming& pair) {
    at[0] = pair.previous;
    at[1] = pair.character;
    putLe(at + kPairKeptAt, static_cast<std::uint32_t>(pair.latencies.size()), 2);
    putLe(at + kPairCountAt, pair.count, 4);
    put64(at + kPairSumAt, pair.latencySumMs);
    putLatencies(at + kPairLatenciesAt, pair.latencies);
}

bool readPair(const std::uint8_t* at, PairTiming& pair) {
    pair.previous = at[0];
    pair.character = at[1];
    pair.count = readLe(at + kPairCountAt, 4);
    pair.latencySumMs = read64(at + kPairSumAt);
    const std::uint32_t kept = readLe(at + kPairKeptAt, 2);
    return kept >= 1 && kept <= pair.count && readLatencies(at + kPairLatenciesAt, kept, pair.latencies);
}

}  // namespace

std::optional<double> PairTiming::medianMs() const {
    std::vector<std::uint16_t> kept(latencies.size());
    for (std::size_t k = 0; k < kept.size(); ++k) kept[k] = latencies[k];
    return medianOf(std::move(kept));
}

TimingStatistics::TimingStatistics() : keys_(kByteValues) {}

PairTiming& TimingStatistics::pair(unsigned char previous, unsigned char character) {
    const PairTiming wanted {.previous = previous, .character = character};
    const auto at = std::lower_bound(pairs_.begin(), pairs_.end(), wanted.id(),
                                     [](const PairTiming& pair, std::uint16_t id) { return pair.id() < id; });
    if (at != pairs_.end() && at->id() == wanted.id()) return *at;
    return *pairs_.insert(at, wanted);
}

PressKind addKeystroke(KeyTiming& timing, const TimedKeystroke& keystroke) {
    if (!keystroke.correct) {
        recordWrongPress(timing, keystroke.hinted);
        return keystroke.hinted ? PressKind::hinted : PressKind::untimed;
    }
    const CorrectPress press {.timed = keystroke.timed, .hinted = keystroke.hinted,
                              .latencyMs = keystroke.latencyMs, .reactionMs = keystroke.reactionMs};
    return recordCorrectPress(timing, press);
}

void TimingStatistics::addSession(std::span<const TimedKeystroke> keystrokes) {
    std::array<std::uint64_t, kByteValues> sumMs {};
    std::array<std::uint32_t, kByteValues> clean {};
    for (const TimedKeystroke& keystroke : keystrokes) {
        if (addKeystroke(keys_[keystroke.expected], keystroke) != PressKind::clean) continue;
        sumMs[keystroke.expected] += keystroke.latencyMs;
        ++clean[keystroke.expected];
        PairTiming& pair = this->pair(keystroke.previous, keystroke.expected);
        if (pair.count < std::numeric_limits<std::uint32_t>::max()) ++pair.count;
        pair.latencySumMs = saturatingAdd(pair.latencySumMs, keystroke.latencyMs);
        pair.latencies.push(static_cast<std::uint16_t>(std::min(keystroke.latencyMs, kLongestKeptLatencyMs)));
    }
    for (std::size_t k = 0; k < kByteValues; ++k)
        if (clean[k] > 0) smoothSession(keys_[k], static_cast<double>(sumMs[k]) / clean[k]);
}

std::vector<PairTiming> slowestPairs(const TimingStatistics& statistics, std::size_t count) {
    std::vector<PairTiming> ranked;
    std::copy_if(statistics.pairs().begin(), statistics.pairs().end(), std::back_inserter(ranked),
                 [](const PairTiming& pair) { return pair.count >= kLatenciesToRank; });
    // Equal medians keep the order of the pairs, so the ranking is the same on every run.
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const PairTiming& a, const PairTiming& b) { return *a.medianMs() > *b.medianMs(); });
    if (ranked.size() > count) ranked.resize(count);
    return ranked;
}

std::string encodeTiming(const TimingStatistics& statistics) {
    const auto& pairs = statistics.pairs();
    std::string bytes(kKeysSize + 4 + pairs.size() * kPairRecordSize, '\0');
    auto* at = reinterpret_cast<std::uint8_t*>(bytes.data());
    for (std::size_t k = 0; k < kByteValues; ++k)
        putKey(at + k * kKeyTimingRecordSize, statistics.key(static_cast<unsigned char>(k)));
    putLe(at + kKeysSize, static_cast<std::uint32_t>(pairs.size()), 4);
    for (std::size_t k = 0; k < pairs.size(); ++k) putPair(at + kKeysSize + 4 + k * kPairRecordSize, pairs[k]);
    return bytes;
}

std::optional<TimingStatistics> decodeTiming(std::string_view bytes) {
    if (bytes.size() < kKeysSize + 4) return std::nullopt;
    const auto* at = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const std::uint32_t pairCount = readLe(at + kKeysSize, 4);
    if (pairCount > kMostPairs || bytes.size() != kKeysSize + 4 + std::size_t {pairCount} * kPairRecordSize)
        return std::nullopt;
    TimingStatistics statistics;
    for (std::size_t k = 0; k < kByteValues; ++k)
        if (!readKey(at + k * kKeyTimingRecordSize, statistics.key(static_cast<unsigned char>(k)))) return std::nullopt;
    std::vector<PairTiming> pairs(pairCount);
    for (std::size_t k = 0; k < pairCount; ++k) {
        const std::uint8_t* record = at + kKeysSize + 4 + k * kPairRecordSize;
        if (!readPair(record, pairs[k])) return std::nullopt;
        // Strictly ascending: no pair twice, and the order lookups rely on.
        if (k > 0 && pairs[k - 1].id() >= pairs[k].id()) return std::nullopt;
    }
    for (const PairTiming& pair : pairs) statistics.pair(pair.previous, pair.character) = pair;
    return statistics;
}

}  // namespace dactyla
