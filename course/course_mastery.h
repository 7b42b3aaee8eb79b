#pragma once
// The course's view of a user's statistics: every key's mastery and the focus key's figures.
#include <string>

#include "course/course.h"
#include "course/key_order.h"

namespace dactyla {

// Mastery of every byte from the user's stored statistics of the language against `targets`.
KeyMastery storedMastery(const std::string& userDirectory, bool russian, const CourseTargets& targets);
FocusFigures storedFigures(const std::string& userDirectory, bool russian, unsigned char key,
                           const CourseTargets& targets);

}  // namespace dactyla
