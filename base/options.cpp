#include "base/options.h"

#include <algorithm>

namespace dactyla {
namespace {

std::uint8_t bit(std::uint16_t flags, int position) {
    return static_cast<std::uint8_t>((flags >> position) & 1u);
}

}  // namespace

void clampLengths(Options& options) {
    options.maxLength = std::clamp(options.maxLength, kShortestSentence, kLongestSentence);
    options.minLength = std::clamp(options.minLength, kShortestSentence, kLongestSentence);
    options.maxLength = std::max(options.maxLength, options.minLength);
}

std::uint16_t packOptionFlags(const Options& options) {
    const unsigned flags = options.russian | options.alphabetMode << 1 | options.uniformLetters << 2 |
                           options.allowCapitals << 3 | options.timerEnabled << 4 |
                           options.backgroundSound << 5 | (options.maxCapitalRun & 15u) << 8 |
                           unsigned {options.picture} << 12;
    return static_cast<std::uint16_t>(flags);
}

void unpackOptionFlags(std::uint16_t flags, Options& options) {
    options.russian = bit(flags, 0);
    options.alphabetMode = bit(flags, 1);
    options.uniformLetters = bit(flags, 2);
    options.allowCapitals = bit(flags, 3);
    options.timerEnabled = bit(flags, 4);
    options.backgroundSound = bit(flags, 5);
    options.maxCapitalRun = static_cast<std::uint8_t>((flags >> 8) & 15u);
    // Only the desktop (0) and the built-in picture (1) are ever shown; any other choice
    // falls back to the built-in one.
    const unsigned picture = (flags >> 12) & 3u;
    options.picture = picture == 0 ? 0 : 1;
}

}  // namespace dactyla
