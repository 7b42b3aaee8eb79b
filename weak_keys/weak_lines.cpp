#include "weak_keys/weak_lines.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <cstring>

#include "base/random.h"
#include "corpus/sentence_corpus.h"

namespace dactyla {
namespace {

// Sentences without any weak spot still get their turn, after the others.
constexpr double kLeastScore = 1e-6;

struct ScoredSentence {
    float score = 0;
    std::uint32_t start = 0;
    std::uint32_t end = 0;
};

// Best first; equal scores in text order, so the quarter does not depend on the sort.
bool better(const ScoredSentence& a, const ScoredSentence& b) {
    return a.score != b.score ? a.score > b.score : a.start < b.start;
}

}  // namespace

std::string joinLineBreaks(std::string_view sentence) {
    std::string joined;
    joined.reserve(sentence.size());
    for (std::size_t k = 0; k < sentence.size(); ++k) {
        const char c = sentence[k];
        if (c != '\r' && c != '\n') {
            joined += c;
            continue;
        }
        if (c == '\r' && k + 1 < sentence.size() && sentence[k + 1] == '\n') ++k;
        const std::size_t size = joined.size();
        if (size > 0 && joined[size - 1] == ' ') continue;
        if (size > 1 && joined[size - 1] == '-' && joined[size - 2] != ' ') {
            joined.pop_back();
            continue;
        }
        joined += ' ';
    }
    return joined;
}

void WeakLines::aim(const ScanText& text, const SentenceRules& rules, const SpotScorer& scorer, std::uint32_t seed) {
    std::vector<ScoredSentence> scored;
    double sum = 0;
    forEachIndexableSentence(text, rules, [&](const FoundSentence& sentence) {
        const float score = static_cast<float>(scorer.score(text.view(sentence.start, sentence.end)));
        scored.push_back({score, sentence.start, sentence.end});
        sum += score;
    });
    scoredCount_ = scored.size();
    meanScore_ = scored.empty() ? 0.0 : sum / static_cast<double>(scored.size());

    const std::size_t quarter = (scored.size() + 3) / 4;
    std::nth_element(scored.begin(), scored.begin() + static_cast<std::ptrdiff_t>(quarter), scored.end(), better);
    scored.resize(quarter);
    quarterFloor_ = scored.empty() ? 0.0 : std::min_element(scored.begin(), scored.end(), [](const auto& a, const auto& b) {
                                                 return a.score < b.score;
                                             })->score;
    std::sort(scored.begin(), scored.end(), [](const auto& a, const auto& b) { return a.start < b.start; });

    pool_.clear();
    ends_.clear();
    starts_.clear();
    scores_.clear();
    for (const ScoredSentence& sentence : scored) {
        keep(text.view(sentence.start, sentence.end), sentence.start);
        scores_.push_back(sentence.score);
    }
    shuffleOrder(seed);
}

void WeakLines::keep(std::string_view sentence, std::uint32_t start) {
    pool_ += joinLineBreaks(sentence);
    ends_.push_back(static_cast<std::uint32_t>(pool_.size()));
    starts_.push_back(start);
}

std::string_view WeakLines::quarterSentence(std::size_t index) const {
    const std::uint32_t from = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(pool_).substr(from, ends_[index] - from);
}

// A random order in which denser sentences tend to come first: each sentence draws
// u^(1/score²) for a uniform u and the largest come first, which is drawing without
// replacement in proportion to the squared score. Sentences already handed out go to the end;
// when every one of them has been, they start over.
void WeakLines::shuffleOrder(std::uint32_t seed) {
    seed_ = seed;
    seedRandom(seed);
    std::vector<std::pair<double, std::uint32_t>> keyed(starts_.size());
    for (std::uint32_t k = 0; k < keyed.size(); ++k) {
        const double uniform = (nextRandom() + 1.0) / (kRandomMax + 2.0);
        const double score = std::max<double>(scores_[k], kLeastScore);
        const double pull = score * score;
        keyed[k] = {std::log(uniform) / pull, k};
    }
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    order_.resize(keyed.size());
    for (std::size_t k = 0; k < keyed.size(); ++k) order_[k] = keyed[k].second;
    std::stable_partition(order_.begin(), order_.end(),
                          [this](std::uint32_t k) { return !handedOut_.contains(starts_[k]); });
    next_ = 0;
    if (!order_.empty() && handedOut_.contains(starts_[order_.front()])) handedOut_.clear();
}

void WeakLines::startOver() {
    handedOut_.clear();
    shuffleOrder(seed_ + 1);
    // The first of the new round is not the one just typed.
    if (order_.size() > 1 && starts_[order_.front()] == lastStart_) std::swap(order_[0], order_[1]);
}

std::uint16_t WeakLines::nextLine(char* destination) {
    if (order_.empty()) return 0;
    if (next_ >= order_.size() || handedOut_.contains(starts_[order_[next_]])) startOver();
    const std::uint32_t k = order_[next_++];
    handedOut_.insert(starts_[k]);
    lastStart_ = starts_[k];
    const std::string_view sentence = quarterSentence(k);
    const std::size_t length = std::min<std::size_t>(sentence.size(), kLongestSentence);
    std::memcpy(destination, sentence.data(), length);
    destination[length] = ' ';
    destination[length + 1] = '\0';
    return static_cast<std::uint16_t>(length + 1);
}

}  // namespace dactyla
