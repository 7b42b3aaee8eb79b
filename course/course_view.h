#pragma once
// What the course window shows and accepts, decided here so the window only draws and reads
// controls: a box per key of the order coloured by mastery, the focus key's figures against the
// targets, and the targets as the user types them.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "course/course.h"
#include "progress/key_map.h"

namespace dactyla {

struct CourseKeyBox {
    unsigned char key = 0;
    bool unlocked = false;
    bool focus = false;
    Rgb colour;
    std::string label;  // CP1251: the character, "␣" shown as a word for the space
};

inline constexpr Rgb kLockedKey {0xEE, 0xEE, 0xEE};

// Unknown mastery neutral grey; red below 0.5, yellow towards 1, green at 1.
Rgb masteryColour(const std::optional<double>& mastery);
// The order's keys in order.
std::vector<CourseKeyBox> courseKeyBoxes(const CourseState& state, const KeyOrder& order, const KeyMastery& mastery);

// CP1251 lines of the window: keys learned, and the focus key against the targets.
std::string learnedText(const CourseState& state, const KeyOrder& order);
std::string focusText(const CourseState& state, const FocusFigures& focus);

// The targets as the edit fields show them: "150" and "3" or "2,5".
std::string speedField(const CourseTargets& targets);
std::string errorField(const CourseTargets& targets);
// The edited fields; empty when either is not a number within its range.
std::optional<CourseTargets> parseTargetFields(std::string_view speed, std::string_view errors,
                                               const CourseTargets& current);

}  // namespace dactyla
