#pragma once
// The current user's settings file, Options.dat (16 bytes, little-endian):
// u32 totalCharacters, u32 totalSeconds, u16 minLength, u16 maxLength, u16 timerSeconds,
// u16 optionFlags.
#include <cstdint>
#include <string>

#include "base/options.h"
#include "platform/file.h"

namespace dactyla {

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
