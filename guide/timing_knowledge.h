#pragma once
// The guide's view of the key statistics: each key's mastery and median latency from its timing.
#include <functional>

#include "guide/keyboard_guide.h"
#include "progress/mastery.h"

namespace dactyla {

class TimingKnowledge final : public KeyKnowledgeSource {
public:
    // The timing of an expected byte, or null while it has none.
    using Lookup = std::function<const KeyTiming*(unsigned char byte)>;

    explicit TimingKnowledge(Lookup lookup, const MasteryTargets& targets = kDefaultMasteryTargets);
    // The course lets the user change the targets.
    void setTargets(const MasteryTargets& targets) { targets_ = targets; }

    KeyKnowledge knowledge(unsigned char byte) const override;

private:
    Lookup lookup_;
    MasteryTargets targets_;
};

}  // namespace dactyla
