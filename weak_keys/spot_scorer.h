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
    // Everything the score needs of one byte, in one place: it is looked up for every byte of
    // a 16 MiB text at each session start.
    struct ByteFacts {
        float weight = 0;        // as a weak key
        std::uint16_t slot = 0;  // its key's row and column in the pair table; the last for no key
        std::uint32_t inWord = 0;  // all ones for a letter, else zero
        std::uint32_t expected = 0;  // bit c: it types the expected key of confusion c
        std::uint32_t typed = 0;     // bit c: it types the key typed instead in confusion c
    };
    float confusionsIn(std::uint32_t bits) const;

    std::size_t slots_ = 0;
    std::array<ByteFacts, 256> bytes_ {};
    std::vector<float> pairWeights_;  // [first slot * slots_ + second slot]
    std::array<float, 32> confusionWeight_ {};
};

}  // namespace dactyla
