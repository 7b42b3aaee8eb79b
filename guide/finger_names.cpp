#include "guide/finger_names.h"

#include <string>

#include "texts/interface_texts.h"

namespace dactyla {
namespace {

constexpr const char* kShiftJoint = ", Shift - ";

}  // namespace

// In the interface language: "finger.0" to "finger.8" of the text tables.
std::string fingerName(Finger finger) {
    return texts::textString("finger." + std::to_string(static_cast<std::size_t>(finger)));
}

std::string fingerLine(const KeyboardPicture& picture) {
    if (!picture.namedFinger) return {};
    std::string line = fingerName(*picture.namedFinger);
    if (picture.namedShiftFinger) line += kShiftJoint + fingerName(*picture.namedShiftFinger);
    return line;
}

}  // namespace dactyla
