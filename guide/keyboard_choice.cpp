#include "guide/keyboard_choice.h"

#include <cstring>

#include "base/whole_file.h"
#include "platform/directory.h"
#include "platform/file.h"

namespace dactyla {
namespace {

constexpr char kMagic[8] = {'D', 'a', 'c', 't', 'K', 'b', 'r', 'd'};
constexpr char kVersion = 1;
constexpr std::size_t kVersionOffset = sizeof kMagic;
constexpr std::size_t kModeOffset = kVersionOffset + 1;
constexpr std::size_t kChoseOffset = kModeOffset + 1;
static_assert(kChoseOffset + 1 == kKeyboardChoiceSize);

}  // namespace

KeyboardChoice choiceAfterMenuItem(const KeyboardChoice& choice) {
    return {nextKeyboardMode(choice.mode), true};
}

KeyboardChoice choiceForCourse(const KeyboardChoice& choice) {
    if (choice.userChose) return choice;
    return {KeyboardMode::guide, false};
}

std::string keyboardChoicePath(const std::string& userDirectory) {
    return platform::joinPath(userDirectory, "Keyboard.dat");
}

std::string encodeKeyboardChoice(const KeyboardChoice& choice) {
    std::string bytes(kMagic, sizeof kMagic);
    bytes += kVersion;
    bytes += static_cast<char>(choice.mode);
    bytes += static_cast<char>(choice.userChose ? 1 : 0);
    return bytes;
}

std::optional<KeyboardChoice> decodeKeyboardChoice(std::string_view bytes) {
    if (bytes.size() != kKeyboardChoiceSize || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0 ||
        bytes[kVersionOffset] != kVersion)
        return std::nullopt;
    const auto mode = static_cast<unsigned char>(bytes[kModeOffset]);
    const auto chose = static_cast<unsigned char>(bytes[kChoseOffset]);
    if (mode >= kKeyboardModeCount || chose > 1) return std::nullopt;
    return KeyboardChoice {static_cast<KeyboardMode>(mode), chose == 1};
}

LoadedKeyboardChoice loadKeyboardChoice(const std::string& userDirectory) {
    const auto stored = readStoredFile(keyboardChoicePath(userDirectory), decodeKeyboardChoice);
    return {stored.state, stored.value};
}

ChoiceSaveResult saveKeyboardChoice(const std::string& userDirectory, const KeyboardChoice& choice) {
    const std::string path = keyboardChoicePath(userDirectory);
    if (loadKeyboardChoice(userDirectory).state == StoredFileState::damaged && !setFileAside(path))
        return ChoiceSaveResult::setAsideFailed;
    return writeWholeFileReplacing(path, encodeKeyboardChoice(choice)) ? ChoiceSaveResult::saved
                                                                       : ChoiceSaveResult::writeFailed;
}

}  // namespace dactyla
