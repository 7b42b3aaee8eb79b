#pragma once
// The course's view of the statistics: every key's mastery against the course's targets, and
// the focus key's figures.
#include <functional>

#include "course/course.h"
#include "course/key_order.h"
#include "progress/key_timing.h"
#include "progress/mastery.h"

namespace dactyla {

// The timing of each CP1251 byte, however the caller keeps them.
using TimingOf = std::function<const KeyTiming&(unsigned char)>;

// The course's targets in the terms of the mastery figure.
MasteryTargets masteryTargets(const CourseTargets& targets);

KeyMastery masteryOf(const TimingOf& timing, const CourseTargets& targets);
FocusFigures figuresOf(const KeyTiming& timing, const CourseTargets& targets);

}  // namespace dactyla
