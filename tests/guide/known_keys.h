#pragma once
// What the guide is told of each key, set by the test; a key it is told nothing of is unknown.
#include <map>

#include "guide/keyboard_guide.h"

namespace dactyla::testing {

class FakeKnowledge final : public KeyKnowledgeSource {
public:
    KeyKnowledge knowledge(unsigned char byte) const override {
        const auto found = keys.find(byte);
        return found == keys.end() ? KeyKnowledge {} : found->second;
    }
    std::map<unsigned char, KeyKnowledge> keys;
};

}  // namespace dactyla::testing
