#include "guide/timing_knowledge.h"

#include <cmath>

namespace dactyla {

TimingKnowledge::TimingKnowledge(Lookup lookup, const MasteryTargets& targets)
    : lookup_(std::move(lookup)), targets_(targets) {}

KeyKnowledge TimingKnowledge::knowledge(unsigned char byte) const {
    const KeyTiming* timing = lookup_ ? lookup_(byte) : nullptr;
    if (timing == nullptr) return {};
    const KeyFigures figures = keyFigures(*timing);
    KeyKnowledge known;
    known.mastery = mastery(figures, targets_);
    if (figures.medianMs) known.medianLatencyMs = static_cast<std::uint32_t>(std::lround(*figures.medianMs));
    return known;
}

}  // namespace dactyla
