#pragma once
// Which text the drill types: sentences, the alphabet (the option alphabetMode of Options.dat)
// or one of the drills added beside them, whose choice is kept per user in "Drill source.txt".
// The items of "Опции" that choose them exclude each other.
#include <optional>
#include <string>
#include <string_view>

#include "base/options.h"

namespace dactyla {

enum class DrillSource { sentences, alphabet, course, weakKeys };

// The source in force: the alphabet whenever its option is on, else the added one chosen.
DrillSource activeSource(const Options& options, DrillSource added);

// The item of `clicked` was chosen while idle: it turns on, turning the others off, or off when it
// was on. `added` is the stored choice among the added drills (sentences when none). Returns
// whether Options changed (they must then be written back).
bool toggleSource(Options& options, DrillSource& added, DrillSource clicked);

// The settings dialog turned the alphabet on: an added drill gives way. Returns whether `added`
// changed.
bool yieldToAlphabet(const Options& options, DrillSource& added);

// "<userDirectory>\Drill source.txt".
std::string drillSourcePath(const std::string& userDirectory);
// The file holds one word: "course" or "weak keys". Anything else, or no file, means sentences.
DrillSource parseDrillSource(std::string_view text);
std::string formatDrillSource(DrillSource added);
DrillSource readDrillSource(const std::string& userDirectory);
// Through a temporary file and a replace; false when it could not be written.
bool writeDrillSource(const std::string& userDirectory, DrillSource added);

}  // namespace dactyla
