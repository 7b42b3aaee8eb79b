#include "weak_keys/weakness.h"

#include <algorithm>
#include <array>

#include "progress/key_map.h"
#include "progress/mastery.h"

namespace dactyla {
namespace {

// Rates closer than this to the learner's own are rounding, not weakness.
constexpr double kNegligibleRate = 1e-9;

std::vector<KeyIndex> buildKeyIndexTable(bool russian) {
    std::vector<KeyIndex> table(kByteValues, kNoKey);
    const auto& layout = keyboardLayout(russian);
    for (std::size_t key = 0; key < layout.size(); ++key)
        for (const char byte : layout[key].bytes) table[static_cast<unsigned char>(byte)] = static_cast<KeyIndex>(key);
    return table;
}

std::uint64_t judgedKeystrokes(const WeaknessInput& input) {
    std::uint64_t total = 0;
    for (const KeyEvidence& key : input.keys) total += key.keystrokes;
    return total;
}

double overallErrorRate(const WeaknessInput& input) {
    std::uint64_t keystrokes = 0;
    std::uint64_t wrong = 0;
    for (const KeyEvidence& key : input.keys) {
        keystrokes += key.keystrokes;
        wrong += key.wrong;
    }
    return keystrokes == 0 ? 0.0 : static_cast<double>(wrong) / static_cast<double>(keystrokes);
}

// Only what is worse than the learner's usual counts: a learner who mistypes every key a little
// has no weak key, and one key far worse than the rest stands out.
// The smoothed rate (wrong + prior × overall) / (keystrokes + prior) less the overall rate, in the
// form whose rounding cannot make a key at exactly the overall rate look weak.
double excessErrorRate(const KeyEvidence& key, double overallRate) {
    const double excess = (static_cast<double>(key.wrong) - static_cast<double>(key.keystrokes) * overallRate) /
                          (static_cast<double>(key.keystrokes) + kPriorKeystrokes);
    return excess > kNegligibleRate ? excess : 0.0;
}

double badnessOf(const KeyEvidence& key, bool timed, double overallRate) {
    if (!timed) return excessErrorRate(key, overallRate);
    if (!key.mastery) return 0.0;
    return 1.0 - std::clamp(*key.mastery, 0.0, 1.0);
}

// The first `most` of `items` (already ordered heaviest first) that weigh something and at
// least kShareOfWeakest of the first.
template <typename Item, typename Weight>
void keepHeaviest(std::vector<Item>& items, std::size_t most, Weight weightOf) {
    if (items.size() > most) items.resize(most);
    if (items.empty()) return;
    const double floor = weightOf(items.front()) * kShareOfWeakest;
    const auto light = std::find_if(items.begin(), items.end(),
                                    [&](const Item& item) { return !(weightOf(item) >= floor && weightOf(item) > 0); });
    items.erase(light, items.end());
}

std::vector<WeakKey> weakKeys(const WeaknessInput& input) {
    const double overallRate = overallErrorRate(input);
    std::vector<WeakKey> keys;
    for (std::size_t k = 0; k < input.keys.size(); ++k) {
        const double frequency = k < input.keyFrequency.size() ? input.keyFrequency[k] : 0.0;
        const double badness = badnessOf(input.keys[k], input.timed, overallRate);
        if (badness > 0 && frequency > 0) keys.push_back({static_cast<KeyIndex>(k), badness, badness * frequency});
    }
    std::stable_sort(keys.begin(), keys.end(), [](const WeakKey& a, const WeakKey& b) { return a.weight > b.weight; });
    keepHeaviest(keys, kMostWeakKeys, [](const WeakKey& key) { return key.weight; });
    return keys;
}

std::vector<WeakConfusion> weakConfusions(const WeaknessInput& input) {
    std::vector<WeakConfusion> confusions;
    for (const ConfusionEvidence& confusion : input.confusions) {
        if (confusion.expected >= input.keys.size() || confusion.typed == confusion.expected) continue;
        const std::uint64_t keystrokes = input.keys[confusion.expected].keystrokes;
        if (keystrokes == 0 || confusion.count < kConfusionEvents) continue;
        const double share = static_cast<double>(confusion.count) / static_cast<double>(keystrokes);
        if (share >= kConfusionShare)
            confusions.push_back({confusion.expected, confusion.typed, confusion.count, share});
    }
    std::stable_sort(confusions.begin(), confusions.end(),
                     [](const WeakConfusion& a, const WeakConfusion& b) { return a.share > b.share; });
    if (confusions.size() > kMostConfusions) confusions.resize(kMostConfusions);
    return confusions;
}

std::vector<SlowPair> slowPairs(const WeaknessInput& input) {
    std::vector<SlowPair> pairs;
    if (!input.userMedianMs || !(*input.userMedianMs > 0)) return pairs;
    const double userMedian = *input.userMedianMs;
    for (const PairEvidence& pair : input.pairs) {
        if (pair.first == kNoKey || pair.second == kNoKey || pair.samples < kLatenciesToRank) continue;
        if (pair.medianMs >= kSlowPairFactor * userMedian)
            pairs.push_back({pair.first, pair.second, pair.samples, pair.medianMs, pair.medianMs / userMedian - 1});
    }
    std::stable_sort(pairs.begin(), pairs.end(), [](const SlowPair& a, const SlowPair& b) { return a.slowness > b.slowness; });
    if (pairs.size() > kMostSlowPairs) pairs.resize(kMostSlowPairs);
    return pairs;
}

// Per key of the layout, the timings of every byte it types.
std::vector<std::vector<const KeyTiming*>> timingsByKey(const TimingStatistics& timing, bool russian) {
    const auto& keyOf = keyIndexTable(russian);
    std::vector<std::vector<const KeyTiming*>> byKey(keyboardLayout(russian).size());
    for (unsigned byte = 0; byte < kByteValues; ++byte)
        if (keyOf[byte] != kNoKey) byKey[keyOf[byte]].push_back(&timing.key(static_cast<unsigned char>(byte)));
    return byKey;
}

// Both cases of a pair of keys ("ша", "Ша") are one pair: their latencies are pooled.
std::vector<PairEvidence> pairsByKey(const TimingStatistics& timing, bool russian) {
    const auto& keyOf = keyIndexTable(russian);
    const std::size_t keys = keyboardLayout(russian).size();
    std::vector<std::uint32_t> samples(keys * keys, 0);
    std::vector<std::vector<std::uint16_t>> latencies(keys * keys);
    for (const PairTiming& pair : timing.pairs()) {
        const KeyIndex first = keyOf[pair.previous];
        const KeyIndex second = keyOf[pair.character];
        if (first == kNoKey || second == kNoKey) continue;
        const std::size_t slot = first * keys + second;
        samples[slot] += pair.count;
        for (std::size_t k = 0; k < pair.latencies.size(); ++k) latencies[slot].push_back(pair.latencies[k]);
    }
    std::vector<PairEvidence> pairs;
    for (std::size_t slot = 0; slot < samples.size(); ++slot) {
        const auto median = medianOf(std::move(latencies[slot]));
        if (samples[slot] > 0 && median)
            pairs.push_back({static_cast<KeyIndex>(slot / keys), static_cast<KeyIndex>(slot % keys), samples[slot], *median});
    }
    return pairs;
}

}  // namespace

const std::vector<KeyIndex>& keyIndexTable(bool russian) {
    static const std::vector<KeyIndex> kRussian = buildKeyIndexTable(true);
    static const std::vector<KeyIndex> kEnglish = buildKeyIndexTable(false);
    return russian ? kRussian : kEnglish;
}

WeakSpots findWeakSpots(const WeaknessInput& input) {
    WeakSpots spots;
    spots.judgedKeystrokes = judgedKeystrokes(input);
    spots.enough = spots.judgedKeystrokes >= kKeystrokesForWeakKeys;
    if (!spots.enough) return spots;
    spots.keys = weakKeys(input);
    spots.confusions = weakConfusions(input);
    spots.pairs = slowPairs(input);
    return spots;
}

WeaknessInput evidenceFromCounts(const KeyCounts& counts, bool russian) {
    WeaknessInput input;
    input.russian = russian;
    const auto& layout = keyboardLayout(russian);
    const auto& keyOf = keyIndexTable(russian);
    input.keys.resize(layout.size());
    std::vector<std::uint64_t> confused(layout.size() * layout.size(), 0);
    for (unsigned expected = 0; expected < kByteValues; ++expected) {
        const KeyIndex key = keyOf[expected];
        if (key == kNoKey) continue;
        const auto byte = static_cast<unsigned char>(expected);
        input.keys[key].keystrokes += std::uint64_t {counts.correct(byte)} + counts.wrong(byte);
        input.keys[key].wrong += counts.wrong(byte);
        if (counts.wrong(byte) == 0) continue;
        for (unsigned typed = 0; typed < kByteValues; ++typed) {
            const KeyIndex typedKey = keyOf[typed];
            if (typedKey != kNoKey && typedKey != key)
                confused[key * layout.size() + typedKey] += counts.confusion(byte, static_cast<unsigned char>(typed));
        }
    }
    for (std::size_t k = 0; k < confused.size(); ++k)
        if (confused[k] > 0)
            input.confusions.push_back({static_cast<KeyIndex>(k / layout.size()),
                                        static_cast<KeyIndex>(k % layout.size()), confused[k]});
    return input;
}

WeaknessInput evidenceFromStatistics(const KeyCounts& counts, const TimingStatistics& timing, bool russian) {
    WeaknessInput input = evidenceFromCounts(counts, russian);
    std::vector<const KeyTiming*> everyKey;
    const auto byKey = timingsByKey(timing, russian);
    for (std::size_t key = 0; key < byKey.size(); ++key) {
        input.keys[key].mastery = mastery(keyFigures(byKey[key]));
        input.timed = input.timed || input.keys[key].mastery.has_value();
        everyKey.insert(everyKey.end(), byKey[key].begin(), byKey[key].end());
    }
    input.userMedianMs = keyFigures(everyKey).medianMs;
    input.pairs = pairsByKey(timing, russian);
    return input;
}

std::vector<double> keyFrequencies(std::string_view text, bool russian) {
    std::array<std::uint64_t, kByteValues> bytes {};
    for (const char c : text) ++bytes[static_cast<unsigned char>(c)];
    const auto& keyOf = keyIndexTable(russian);
    std::vector<double> frequency(keyboardLayout(russian).size(), 0.0);
    std::uint64_t typed = 0;
    for (unsigned b = 0; b < kByteValues; ++b) {
        if (keyOf[b] == kNoKey) continue;
        frequency[keyOf[b]] += static_cast<double>(bytes[b]);
        typed += bytes[b];
    }
    if (typed > 0)
        for (double& share : frequency) share /= static_cast<double>(typed);
    return frequency;
}

}  // namespace dactyla
