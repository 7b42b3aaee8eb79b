#include "weak_keys/spot_scorer.h"

#include <algorithm>
#include <bit>

#include "progress/key_map.h"

namespace dactyla {
namespace {

static_assert(kMostConfusions <= 32, "a confusion is one bit of a word's mask");

bool isLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c >= 0xC0 || c == 0xA8 || c == 0xB8;
}

}  // namespace

SpotScorer::SpotScorer(const WeakSpots& spots, bool russian) : slots_(keyboardLayout(russian).size() + 1) {
    const auto& keyOf = keyIndexTable(russian);
    const std::uint16_t noKey = static_cast<std::uint16_t>(slots_ - 1);
    for (unsigned b = 0; b < 256; ++b) {
        bytes_[b].slot = keyOf[b] == kNoKey ? noKey : keyOf[b];
        bytes_[b].inWord = isLetter(static_cast<unsigned char>(b)) ? ~0u : 0u;
    }
    if (!spots.keys.empty()) {
        const double worst = std::max_element(spots.keys.begin(), spots.keys.end(), [](const WeakKey& a, const WeakKey& b) {
                                 return a.badness < b.badness;
                             })->badness;
        for (unsigned b = 0; b < 256; ++b)
            for (const WeakKey& key : spots.keys)
                if (keyOf[b] == key.key) bytes_[b].weight = static_cast<float>(key.badness / worst);
    }
    pairWeights_.assign(slots_ * slots_, 0.0f);
    if (!spots.pairs.empty()) {
        const double slowest = spots.pairs.front().slowness;
        for (const SlowPair& pair : spots.pairs)
            if (pair.first < noKey && pair.second < noKey)
                pairWeights_[pair.first * slots_ + pair.second] = static_cast<float>(pair.slowness / slowest);
    }
    if (!spots.confusions.empty()) {
        const double strongest = spots.confusions.front().share;
        for (std::size_t c = 0; c < spots.confusions.size() && c < confusionWeight_.size(); ++c) {
            const WeakConfusion& confusion = spots.confusions[c];
            confusionWeight_[c] = static_cast<float>(confusion.share / strongest);
            for (unsigned b = 0; b < 256; ++b) {
                if (bytes_[b].inWord == 0) continue;
                if (keyOf[b] == confusion.expected) bytes_[b].expected |= 1u << c;
                if (keyOf[b] == confusion.typed) bytes_[b].typed |= 1u << c;
            }
        }
    }
}

float SpotScorer::confusionsIn(std::uint32_t bits) const {
    float sum = 0;
    for (; bits != 0; bits &= bits - 1) sum += confusionWeight_[static_cast<std::size_t>(std::countr_zero(bits))];
    return sum;
}

// One pass without a branch per byte but the rare end of a word holding a confusion: a byte
// outside a word clears the word's masks after they were looked at.
double SpotScorer::score(std::string_view sentence) const {
    if (sentence.empty()) return 0.0;
    float keys = 0;
    float pairs = 0;
    float words = 0;
    std::size_t previous = slots_ - 1;
    std::uint32_t expectedInWord = 0;
    std::uint32_t typedInWord = 0;
    for (const char c : sentence) {
        const ByteFacts& facts = bytes_[static_cast<unsigned char>(c)];
        keys += facts.weight;
        pairs += pairWeights_[previous * slots_ + facts.slot];
        previous = facts.slot;
        const std::uint32_t ending = expectedInWord & typedInWord & ~facts.inWord;
        if (ending != 0) words += confusionsIn(ending);
        expectedInWord = (expectedInWord & facts.inWord) | facts.expected;
        typedInWord = (typedInWord & facts.inWord) | facts.typed;
    }
    words += confusionsIn(expectedInWord & typedInWord);
    return (keys + pairs + words) / static_cast<double>(sentence.size());
}

}  // namespace dactyla
