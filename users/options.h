#pragma once
// The current user's settings and their file, Options.dat (16 bytes, little-endian):
// u32 totalCharacters, u32 totalSeconds, u16 minLength, u16 maxLength, u16 timerSeconds,
// u16 optionFlags.
#include <cstdint>
#include <string>

#include "platform/file.h"

namespace dactyla {

struct Options {
    std::uint16_t minLength = 10;
    std::uint16_t maxLength = 120;
    std::uint16_t timerSeconds = 300;
    std::uint8_t russian = 1;
    std::uint8_t alphabetMode = 0;
    std::uint8_t uniformLetters = 1;
    std::uint8_t allowCapitals = 0;
    std::uint8_t timerEnabled = 1;
    std::uint8_t backgroundSound = 1;
    std::uint8_t maxCapitalRun = 4;
    std::uint8_t picture = 1;
};

// Keeps 10 <= minLength <= maxLength <= 120.
void clampLengths(Options& options);
// True when all eleven settings are equal.
bool sameOptions(const Options& a, const Options& b);

std::uint16_t packOptionFlags(const Options& options);
void unpackOptionFlags(std::uint16_t flags, Options& options);

// The live settings of the current user with the user's open Options.dat.
struct LiveOptions {
    Options options;
    platform::File optionsFile;
    // The live settings differ from what the file holds.
    bool optionsDirty = false;
};

// Makes `userDirectory`'s Options.dat the open file and loads the settings from it; a missing
// file is created with zero totals and keeps the live settings (and marks them dirty).
void readOptions(LiveOptions& live, const std::string& userDirectory);
void writeOptions(LiveOptions& live);

struct Totals {
    std::uint32_t characters = 0;
    std::uint32_t seconds = 0;
};
// Missing bytes read as 0.
Totals readTotals(LiveOptions& live);
void addTotals(LiveOptions& live, std::uint32_t characters, std::uint32_t seconds);

}  // namespace dactyla
