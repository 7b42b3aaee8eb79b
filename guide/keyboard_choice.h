#pragma once
// The keyboard mode a user left the on-screen keyboard in, kept in a small file of its own
// beside the user's other files, "Keyboard.dat":
//   0   8 bytes  magic "DactKbrd"
//   8   version, 1
//   9   mode: 0 off, 1 always, 2 guide
//   10  1 when the user chose the mode with the menu item, 0 while it is the program's default
// 11 bytes in all. A file of another size, magic, version or value is damaged: it counts as no
// choice and is moved aside before a new one is written.
#include <optional>
#include <string>
#include <string_view>

#include "base/stored_file.h"
#include "guide/keyboard_guide.h"

namespace dactyla {

inline constexpr std::size_t kKeyboardChoiceSize = 11;

struct KeyboardChoice {
    KeyboardMode mode = KeyboardMode::off;  // a new user starts without the keyboard
    bool userChose = false;
    bool operator==(const KeyboardChoice&) const = default;
};

// The menu item: the next mode, chosen by the user.
KeyboardChoice choiceAfterMenuItem(const KeyboardChoice& choice);
// Course mode starting: the keyboard shows in guide mode unless the user chose otherwise.
KeyboardChoice choiceForCourse(const KeyboardChoice& choice);

// "<userDirectory>\Keyboard.dat".
std::string keyboardChoicePath(const std::string& userDirectory);

std::string encodeKeyboardChoice(const KeyboardChoice& choice);
std::optional<KeyboardChoice> decodeKeyboardChoice(std::string_view bytes);

struct LoadedKeyboardChoice {
    StoredFileState state = StoredFileState::missing;
    KeyboardChoice choice;  // the default unless valid
};

LoadedKeyboardChoice loadKeyboardChoice(const std::string& userDirectory);

enum class ChoiceSaveResult { saved, setAsideFailed, writeFailed };

// Written beside the old file and then put in its place, so a failure half-way keeps the old one;
// a damaged file is moved aside first.
ChoiceSaveResult saveKeyboardChoice(const std::string& userDirectory, const KeyboardChoice& choice);

}  // namespace dactyla
