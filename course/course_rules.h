#pragma once
// When the course unlocks a key and which key it aims at, from per-key mastery alone, so the
// rules are the same however mastery is measured.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "course/key_order.h"

namespace dactyla {

// Mastery per CP1251 byte: 1 means the key meets the targets; empty while not yet known.
using KeyMastery = std::array<std::optional<double>, 256>;
// How often each CP1251 byte occurs in the language's text.
using CharacterCounts = std::array<std::uint64_t, 256>;

inline constexpr double kMastered = 1.0;
// A key must fall below this to become the focus again; between it and 1 it is left alone,
// so a key that was just mastered does not come straight back.
inline constexpr double kFocusBelow = 0.9;

struct CourseProgress {
    std::string unlocked;              // CP1251, in the order they were unlocked; never shrinks
    std::optional<unsigned char> focus;
    bool operator==(const CourseProgress&) const = default;
};

// The first lesson's keys, the most frequent weakest of them in focus.
CourseProgress firstLesson(const KeyOrder& order, const KeyMastery& mastery, const CharacterCounts& counts);

// The check at the end of every line. The focus keeps its key until that key is mastered; then
// the unlocked key with the largest count × (1 − mastery) below kFocusBelow takes it (a key not
// yet known counts as 0; never the space). When no key is below that and every unlocked key is mastered, the next
// step of the order is unlocked and its last key takes the focus. Returns true when it unlocked.
bool checkProgress(CourseProgress& progress, const KeyOrder& order, const KeyMastery& mastery,
                   const CharacterCounts& counts);

// Unlocks every step up to the one holding `character` and puts it in focus; false, changing
// nothing, when it is not in the order or already unlocked.
bool skipTo(CourseProgress& progress, const KeyOrder& order, unsigned char character);

// The keys of the order not yet unlocked, in order.
std::string lockedKeys(const CourseProgress& progress, const KeyOrder& order);
bool isUnlocked(const CourseProgress& progress, unsigned char character);

}  // namespace dactyla
