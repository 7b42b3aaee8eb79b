#pragma once
// The lines of the weak-keys drill: the sentences of the language's text that hold the
// learner's weak spots most densely. Every sentence the index would take is scored; the best
// quarter is kept and handed out in a random order that favours the denser ones, none twice
// before the whole quarter has been typed, so the drill stays varied. The user's sentence index is never touched.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "corpus/sentence_scanner.h"
#include "weak_keys/spot_scorer.h"

namespace dactyla {

// A sentence as it reads: a line break after a space goes, a hyphen that splits a word across
// lines goes with its line break, any other line break becomes one space.
std::string joinLineBreaks(std::string_view sentence);

class WeakLines {
public:
    // Scores the sentences of `text` and keeps the best quarter (at least one sentence when there
    // is any). The order is drawn from `seed`, so the same statistics and text give the same
    // lines; sentences handed out since the quarter was last used up go to its end.
    void aim(const ScanText& text, const SentenceRules& rules, const SpotScorer& scorer, std::uint32_t seed);

    // Writes the next sentence, a space and a zero at `destination` (room for kCorpusLineRoom
    // bytes) and returns the characters to type; 0 when nothing is aimed at.
    std::uint16_t nextLine(char* destination);

    std::size_t scoredCount() const { return scoredCount_; }
    std::size_t quarterSize() const { return starts_.size(); }
    // The sentence at `index` of the quarter (text order), as it is typed.
    std::string_view quarterSentence(std::size_t index) const;
    // The lowest score in the quarter and the mean over every sentence scored.
    double quarterFloor() const { return quarterFloor_; }
    double meanScore() const { return meanScore_; }

private:
    void keep(std::string_view sentence, std::uint32_t start);
    void shuffleOrder(std::uint32_t seed);
    void startOver();

    std::string pool_;                  // the quarter's sentences back to back, joined
    std::vector<std::uint32_t> ends_;   // where each ends in pool_
    std::vector<std::uint32_t> starts_;  // where each starts in the text: its identity
    std::vector<float> scores_;
    std::vector<std::uint32_t> order_;  // quarter indices still to hand out, next first
    std::size_t next_ = 0;
    std::uint32_t seed_ = 0;
    std::uint32_t lastStart_ = 0xFFFFFFFFu;
    // Text offsets handed out since the quarter was last used up; kept from one aim to the next.
    std::unordered_set<std::uint32_t> handedOut_;
    std::size_t scoredCount_ = 0;
    double quarterFloor_ = 0;
    double meanScore_ = 0;
};

}  // namespace dactyla
