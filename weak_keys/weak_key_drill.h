#pragma once
// The weak-keys drill of one session: the learner's weak spots found in their latest
// statistics and the lines aimed at them, made once at the start of the session.
#include <cstdint>
#include <string>
#include <vector>

#include "base/options.h"
#include "corpus/sentence_scanner.h"
#include "weak_keys/weak_lines.h"
#include "weak_keys/weakness.h"

namespace dactyla {

class WeakKeyDrill {
public:
    // Finds the weak spots of `evidence` (its key frequencies are taken from `text`) and aims
    // the lines at the sentences of `text` that hold them. False, with no lines, when the
    // statistics hold too few keystrokes or the text no sentence; ordinary sentences are then
    // the caller's to give.
    bool aim(WeaknessInput evidence, const ScanText& text, const Options& options);

    const WeakSpots& spots() const { return spots_; }
    const WeakLines& lines() const { return lines_; }
    // Each key's share of the text, as the weights took it.
    const std::vector<double>& keyFrequency() const { return keyFrequency_; }
    bool aimed() const { return aimed_; }
    // The next line while aimed (as WeakLines::nextLine), else 0.
    std::uint16_t nextLine(char* destination);

private:
    WeakSpots spots_;
    WeakLines lines_;
    std::vector<double> keyFrequency_;
    bool aimed_ = false;
};

// The evidence of the user's latest statistics of the language, timed where the file is of
// version 2; a missing, unreadable or damaged file gives none (and so too few keystrokes).
WeaknessInput loadWeaknessEvidence(const std::string& userDirectory, bool russian);

// The order of the lines follows from the statistics and the text, so dactyla-text shows the
// lines a session started now would get.
std::uint32_t weakLinesSeed(std::uint64_t judgedKeystrokes, std::uint32_t textSize);

}  // namespace dactyla
