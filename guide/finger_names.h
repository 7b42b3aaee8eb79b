#pragma once
// The fingers named in Russian, for the line under the on-screen keyboard.
#include <string>

#include "guide/keyboard_guide.h"

namespace dactyla {

// "левый мизинец" ... "правый мизинец", "большой палец"; CP1251.
std::string fingerName(Finger finger);

// The line under the keyboard: empty, or after a wrong key the finger of the expected key and,
// for a capital, the finger on its Shift: "левый указательный, Shift - правый мизинец".
std::string fingerLine(const KeyboardPicture& picture);

}  // namespace dactyla
