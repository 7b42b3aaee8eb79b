#pragma once
// The current user's settings as a value, with their limits and how they pack into the flags
// word of Options.dat (the file itself is users/options_file.h).
#include <cstdint>

#include "base/text_rules.h"

namespace dactyla {

inline constexpr std::uint16_t kLongestTimer = 3600;
inline constexpr std::uint16_t kDefaultTimer = 300;

struct Options {
    std::uint16_t minLength = kShortestSentence;
    std::uint16_t maxLength = kLongestSentence;
    std::uint16_t timerSeconds = kDefaultTimer;
    std::uint8_t russian = 1;
    std::uint8_t alphabetMode = 0;
    std::uint8_t uniformLetters = 1;
    std::uint8_t allowCapitals = 0;
    std::uint8_t timerEnabled = 1;
    std::uint8_t backgroundSound = 1;
    std::uint8_t maxCapitalRun = 4;
    std::uint8_t picture = 1;

    bool operator==(const Options&) const = default;
};

// Keeps kShortestSentence <= minLength <= maxLength <= kLongestSentence.
void clampLengths(Options& options);

std::uint16_t packOptionFlags(const Options& options);
void unpackOptionFlags(std::uint16_t flags, Options& options);

}  // namespace dactyla
