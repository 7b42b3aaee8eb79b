#include "course/course_view.h"

#include <array>
#include <charconv>
#include <cstdio>

#include "course/course_texts.h"

namespace dactyla {
namespace {

using courseText::courseFormatted;
using courseText::courseString;
using courseText::keyName;

std::uint8_t mix(std::uint8_t a, std::uint8_t b, double t) {
    return static_cast<std::uint8_t>(a + (b - a) * t + 0.5);
}

Rgb blend(const Rgb& a, const Rgb& b, double t) {
    return {mix(a.red, b.red, t), mix(a.green, b.green, t), mix(a.blue, b.blue, t)};
}

std::optional<unsigned> wholeNumber(std::string_view s) {
    unsigned v = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || error != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return v;
}

std::string_view trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

}  // namespace

Rgb masteryColour(const std::optional<double>& mastery) {
    if (!mastery) return kNeutralKey;
    if (*mastery >= kMastered) return kSureKey;
    if (*mastery < 0.5) return kWeakKey;
    return blend(kShakyKey, kSureKey, (*mastery - 0.5) / 0.5 * 0.6);
}

std::vector<CourseKeyBox> courseKeyBoxes(const CourseState& state, const KeyOrder& order, const KeyMastery& mastery) {
    std::vector<CourseKeyBox> boxes;
    for (char ch : order.characters()) {
        const auto c = static_cast<unsigned char>(ch);
        CourseKeyBox box;
        box.key = c;
        box.unlocked = isUnlocked(state.progress, c);
        box.focus = state.progress.focus == c;
        box.colour = box.unlocked ? masteryColour(mastery[c]) : kLockedKey;
        box.label = c == ' ' ? std::string("_") : std::string(1, ch);
        boxes.push_back(box);
    }
    return boxes;
}

std::string learnedText(const CourseState& state, const KeyOrder& order) {
    return courseFormatted(courseText::kWindowLearned, static_cast<unsigned>(state.progress.unlocked.size()),
                           static_cast<unsigned>(order.characters().size()));
}

std::string focusText(const CourseState& state, const FocusFigures& focus) {
    if (!state.progress.focus) return courseString(courseText::kWindowNoFocus);
    const std::string name = keyName(*state.progress.focus);
    if (!focus.speed || !focus.errorRate)
        return courseFormatted(courseText::kWindowFocusUnknown, name.c_str(), unsigned {state.targets.minSamples});
    return courseFormatted(courseText::kWindowFocus, name.c_str(), static_cast<unsigned>(*focus.speed + 0.5),
                           unsigned {state.targets.targetSpeed}, *focus.errorRate * 100.0,
                           state.targets.errorLimitTenths / 10.0);
}

std::string speedField(const CourseTargets& targets) { return std::to_string(targets.targetSpeed); }

std::string errorField(const CourseTargets& targets) {
    const unsigned tenths = targets.errorLimitTenths;
    std::string field = std::to_string(tenths / 10);
    if (tenths % 10 != 0) field.append(1, ',').append(1, static_cast<char>('0' + tenths % 10));
    return field;
}

std::optional<CourseTargets> parseTargetFields(std::string_view speed, std::string_view errors,
                                               const CourseTargets& current) {
    const auto cpm = wholeNumber(trimmed(speed));
    std::string e(trimmed(errors));
    for (char& c : e)
        if (c == '.') c = ',';
    const auto comma = e.find(',');
    const auto whole = wholeNumber(std::string_view(e).substr(0, comma));
    std::optional<unsigned> tenth = 0u;
    if (comma != std::string::npos) tenth = e.size() == comma + 2 ? wholeNumber(std::string_view(e).substr(comma + 1)) : std::nullopt;
    if (!cpm || !whole || !tenth || *whole > 1000) return std::nullopt;
    const unsigned limit = *whole * 10 + *tenth;
    if (*cpm < kMinTargetSpeed || *cpm > kMaxTargetSpeed || limit < kMinErrorLimitTenths || limit > kMaxErrorLimitTenths)
        return std::nullopt;
    CourseTargets targets = current;
    targets.targetSpeed = static_cast<std::uint16_t>(*cpm);
    targets.errorLimitTenths = static_cast<std::uint16_t>(limit);
    return targets;
}

}  // namespace dactyla
