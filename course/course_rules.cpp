#include "course/course_rules.h"

namespace dactyla {
namespace {

double knownOrZero(const KeyMastery& mastery, unsigned char c) { return mastery[c].value_or(0.0); }

bool mastered(const KeyMastery& mastery, unsigned char c) { return mastery[c] && *mastery[c] >= kMastered; }

// The key of `keys` with the largest count × (1 − mastery) among those below `below`; earlier
// keys win ties. Never the space: every line holds it anyway.
std::optional<unsigned char> weakest(const std::string& keys, const KeyMastery& mastery,
                                     const CharacterCounts& counts, double below) {
    std::optional<unsigned char> best;
    double bestWeight = -1.0;
    for (char k : keys) {
        const auto c = static_cast<unsigned char>(k);
        const double m = knownOrZero(mastery, c);
        if (c == ' ' || m >= below) continue;
        const double weight = static_cast<double>(counts[c]) * (1.0 - m);
        if (weight > bestWeight) {
            best = c;
            bestWeight = weight;
        }
    }
    return best;
}

// The next step's keys not yet unlocked (an edited order may hold some already).
std::string nextKeys(const CourseProgress& progress, const KeyOrder& order) {
    for (const std::string& step : order.steps) {
        std::string fresh;
        for (char c : step)
            if (!isUnlocked(progress, static_cast<unsigned char>(c))) fresh += c;
        if (!fresh.empty()) return fresh;
    }
    return {};
}

}  // namespace

bool isUnlocked(const CourseProgress& progress, unsigned char character) {
    return progress.unlocked.find(static_cast<char>(character)) != std::string::npos;
}

CourseProgress firstLesson(const KeyOrder& order, const KeyMastery& mastery, const CharacterCounts& counts) {
    CourseProgress progress;
    if (order.steps.empty()) return progress;
    progress.unlocked = order.steps.front();
    progress.focus = weakest(progress.unlocked, mastery, counts, kMastered);
    return progress;
}

bool checkProgress(CourseProgress& progress, const KeyOrder& order, const KeyMastery& mastery,
                   const CharacterCounts& counts) {
    if (progress.unlocked.empty()) {
        progress = firstLesson(order, mastery, counts);
        return false;
    }
    if (progress.focus && !mastered(mastery, *progress.focus)) return false;
    progress.focus = weakest(progress.unlocked, mastery, counts, kFocusBelow);
    if (progress.focus) return false;
    for (char c : progress.unlocked)
        if (!mastered(mastery, static_cast<unsigned char>(c))) return false;
    const std::string fresh = nextKeys(progress, order);
    if (fresh.empty()) return false;
    progress.unlocked += fresh;
    progress.focus = static_cast<unsigned char>(fresh.back());
    return true;
}

bool skipTo(CourseProgress& progress, const KeyOrder& order, unsigned char character) {
    const std::size_t target = order.stepOf(character);
    if (target == order.steps.size() || isUnlocked(progress, character)) return false;
    for (std::size_t k = 0; k <= target; ++k)
        for (char c : order.steps[k])
            if (!isUnlocked(progress, static_cast<unsigned char>(c))) progress.unlocked += c;
    progress.focus = character;
    return true;
}

std::string lockedKeys(const CourseProgress& progress, const KeyOrder& order) {
    std::string locked;
    for (char c : order.characters())
        if (!isUnlocked(progress, static_cast<unsigned char>(c))) locked += c;
    return locked;
}

}  // namespace dactyla
