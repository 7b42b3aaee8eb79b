#pragma once
// The one source of new drill text: uniform alphabet lines or lines from the open corpus.
#include <cstddef>
#include <cstdint>

#include "base/options.h"
#include "drill/drill_corpus.h"
#include "drill/line_source.h"

namespace dactyla {

// Most bytes an alphabet line uses at its destination: 104 characters and a NUL.
inline constexpr unsigned kAlphabetLineRoom = 105;

// Writes the next line at `destination` and returns the number of characters to type. Uses at
// most 122 bytes. The added drill's line when `source` is set; else a uniform alphabet line when
// alphabetMode and uniformLetters are both on, otherwise the corpus' next line; 0 when that is
// needed and `corpus` is null.
std::uint16_t nextDrillLine(char* destination, const Options& options, DrillCorpus* corpus,
                            LineSource* source = nullptr);

// Every lower-case letter of the language, ten punctuation marks, the digits, capitals when
// allowed and a few spaces, in random order and NUL-terminated. Returns 52 to 104.
std::uint16_t makeAlphabetLine(char* destination, const Options& options);
// The same with the shuffle seeded from `tick`, so a line can be reproduced.
std::uint16_t makeAlphabetLineAt(std::uint32_t tick, char* destination, const Options& options);

// Moves a space at the start or right after another space one or two places on, in one sweep
// over all but the last two of `length` characters.
void breakDoubledSpaces(char* line, std::size_t length);

}  // namespace dactyla
