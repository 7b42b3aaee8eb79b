#pragma once
// How densely a sentence holds a learner's weak spots. Every keystroke of a weak key adds its
// share of the weakest key's badness, every pair of neighbouring keys that is a slow pair its
// share of the slowest pair's slowness, and every word that holds both keys of a confusion
// its share of the strongest confusion; the sum is divided by the sentence's length. Each
// kind thus counts 1 at its worst.
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "weak_keys/weakness.h"

namespace dactyla {

class SpotScorer {
public:
    SpotScorer(const WeakSpots& spots, bool russian);

    // The sentence's weak spots per character; 0 for an empty one. Line breaks count as the
    // word gaps they are.
    double score(std::string_view sentence) const;

private:
    static constexpr std::size_t kMostConfusionBits = 32;
    float pairWeight(KeyIndex first, KeyIndex second) const;

    std::size_t keyCount_ = 0;
    const std::vector<KeyIndex>& keyOf_;
    std::array<float, 256> byteWeight_ {};
    std::array<bool, 256> inWord_ {};
    std::vector<float> pairWeights_;  // [first * keyCount_ + second]
    bool anyPair_ = false;
    // Bit c: the byte types the expected (or the typed) key of confusion c.
    std::array<std::uint32_t, 256> expectedOf_ {};
    std::array<std::uint32_t, 256> typedOf_ {};
    std::array<float, kMostConfusionBits> confusionWeight_ {};
};

}  // namespace dactyla
