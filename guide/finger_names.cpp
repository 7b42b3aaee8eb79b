#include "guide/finger_names.h"

#include <array>

#include "platform/cp1251.h"

namespace dactyla {
namespace {

// UTF-8 here, CP1251 inside the program.
constexpr std::array<const char*, kFingerCount + 1> kFingerNames = {
    "левый мизинец",       "левый безымянный", "левый средний",     "левый указательный",
    "правый указательный", "правый средний",   "правый безымянный", "правый мизинец",
    "большой палец",
};
constexpr const char* kShiftJoint = ", Shift - ";

std::array<std::string, kFingerNames.size()> convertedNames() {
    std::array<std::string, kFingerNames.size()> names;
    for (std::size_t k = 0; k < names.size(); ++k) names[k] = platform::utf8ToCp1251(kFingerNames[k]);
    return names;
}

}  // namespace

const std::string& fingerName(Finger finger) {
    static const auto kNames = convertedNames();
    return kNames[static_cast<std::size_t>(finger)];
}

std::string fingerLine(const KeyboardPicture& picture) {
    if (!picture.namedFinger) return {};
    std::string line = fingerName(*picture.namedFinger);
    if (picture.namedShiftFinger) line += kShiftJoint + fingerName(*picture.namedShiftFinger);
    return line;
}

}  // namespace dactyla
