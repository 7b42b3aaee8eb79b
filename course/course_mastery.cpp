#include "course/course_mastery.h"

namespace dactyla {

MasteryTargets masteryTargets(const CourseTargets& targets) {
    MasteryTargets m;
    m.targetCpm = targets.targetSpeed;
    m.errorLimit = targets.errorLimitTenths / 1000.0;
    m.minCleanSamples = targets.minSamples;
    return m;
}

KeyMastery masteryOf(const TimingOf& timing, const CourseTargets& targets) {
    const MasteryTargets m = masteryTargets(targets);
    KeyMastery mastery {};
    for (unsigned k = 0; k < mastery.size(); ++k) mastery[k] = dactyla::mastery(timing(static_cast<unsigned char>(k)), m);
    return mastery;
}

FocusFigures figuresOf(const KeyTiming& timing, const CourseTargets& targets) {
    const KeyFigures figures = keyFigures(timing);
    FocusFigures focus;
    focus.mastery = dactyla::mastery(figures, masteryTargets(targets));
    if (figures.cleanSamples >= targets.minSamples) {
        focus.speed = figures.cpm();
        focus.errorRate = figures.smoothedErrorRate();
    }
    return focus;
}

}  // namespace dactyla
