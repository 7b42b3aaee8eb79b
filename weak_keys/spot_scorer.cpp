#include "weak_keys/spot_scorer.h"

#include <algorithm>
#include <bit>

#include "users/key_map.h"

namespace dactyla {
namespace {

static_assert(kMostConfusions <= 32, "a confusion is one bit of a word's mask");

bool isLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c >= 0xC0 || c == 0xA8 || c == 0xB8;
}

}  // namespace

SpotScorer::SpotScorer(const WeakSpots& spots, bool russian)
    : keyCount_(keyboardLayout(russian).size()), keyOf_(keyIndexTable(russian)), pairWeights_(keyCount_ * keyCount_, 0.0f) {
    for (unsigned b = 0; b < 256; ++b) inWord_[b] = isLetter(static_cast<unsigned char>(b));
    if (!spots.keys.empty()) {
        const double worst = std::max_element(spots.keys.begin(), spots.keys.end(), [](const WeakKey& a, const WeakKey& b) {
                                 return a.badness < b.badness;
                             })->badness;
        for (unsigned b = 0; b < 256; ++b)
            for (const WeakKey& key : spots.keys)
                if (keyOf_[b] == key.key) byteWeight_[b] = static_cast<float>(key.badness / worst);
    }
    if (!spots.pairs.empty()) {
        const double slowest = spots.pairs.front().slowness;
        for (const SlowPair& pair : spots.pairs)
            if (pair.first < keyCount_ && pair.second < keyCount_)
                pairWeights_[pair.first * keyCount_ + pair.second] = static_cast<float>(pair.slowness / slowest);
        anyPair_ = true;
    }
    if (!spots.confusions.empty()) {
        const double strongest = spots.confusions.front().share;
        for (std::size_t c = 0; c < spots.confusions.size() && c < kMostConfusionBits; ++c) {
            const WeakConfusion& confusion = spots.confusions[c];
            confusionWeight_[c] = static_cast<float>(confusion.share / strongest);
            for (unsigned b = 0; b < 256; ++b) {
                if (keyOf_[b] == confusion.expected) expectedOf_[b] |= 1u << c;
                if (keyOf_[b] == confusion.typed) typedOf_[b] |= 1u << c;
            }
        }
    }
}

float SpotScorer::pairWeight(KeyIndex first, KeyIndex second) const {
    if (first == kNoKey || second == kNoKey) return 0.0f;
    return pairWeights_[first * keyCount_ + second];
}

double SpotScorer::score(std::string_view sentence) const {
    if (sentence.empty()) return 0.0;
    float total = 0;
    KeyIndex previous = kNoKey;
    std::uint32_t expectedInWord = 0;
    std::uint32_t typedInWord = 0;
    const auto endWord = [&] {
        for (std::uint32_t both = expectedInWord & typedInWord; both != 0; both &= both - 1)
            total += confusionWeight_[static_cast<std::size_t>(std::countr_zero(both))];
        expectedInWord = typedInWord = 0;
    };
    for (const char c : sentence) {
        const auto byte = static_cast<unsigned char>(c);
        const KeyIndex key = keyOf_[byte];
        total += byteWeight_[byte];
        if (anyPair_) total += pairWeight(previous, key);
        previous = key;
        if (inWord_[byte]) {
            expectedInWord |= expectedOf_[byte];
            typedInWord |= typedOf_[byte];
        } else {
            endWord();
        }
    }
    endWord();
    return total / static_cast<double>(sentence.size());
}

}  // namespace dactyla
