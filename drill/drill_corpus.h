#pragma once
// What the drill needs of the open sentence corpus. The corpus subsystem implements it; the
// drill holds a pointer that is null while no corpus is open.
#include <cstdint>

#include "base/options.h"

namespace dactyla {

class DrillCorpus {
public:
    virtual ~DrillCorpus() = default;
    virtual std::uint32_t sentenceCount() const = 0;
    // Writes the next sentence and a space (alphabetMode off) or 120 random characters from
    // the text (alphabetMode on) at `destination`; returns the number of characters to type.
    virtual std::uint16_t nextCorpusLine(char* destination, const Options& options) = 0;
    // True when the corpus wrapped around or is used up; clears the wrapped flag.
    virtual bool takeWrapped() = 0;
    virtual void reshuffleRemainder(bool keepPosition) = 0;
    virtual void savePosition() = 0;
};

}  // namespace dactyla
