#include "sound/sound_theme.h"

#include <charconv>
#include <cstdio>
#include <utility>

#include "base/record_shuffle.h"
#include "platform/directory.h"

namespace dactyla {
namespace {

constexpr const char* kExtension = ".wav";
constexpr std::size_t kExtensionLength = 4;
constexpr unsigned kLargestNumber = 255;

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameTextIgnoringCase(const std::string& text, std::size_t at, const std::string& expected) {
    if (text.size() < at + expected.size()) return false;
    for (std::size_t i = 0; i < expected.size(); ++i)
        if (lowerAscii(text[at + i]) != lowerAscii(expected[i])) return false;
    return true;
}

bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Decimal number at the start of `text` after blanks and an optional sign. Negative numbers and
// numbers past 255 give 0 instead of wrapping into a small number whose file does not exist.
unsigned leadingNumber(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size() && isBlank(text[at])) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    unsigned value = 0;
    const auto [stop, error] = std::from_chars(text.data() + at, text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range || value > kLargestNumber) return 0;
    return negative ? 0 : value;
}

}  // namespace

std::string soundDirectory(const std::string& programDirectory) {
    return platform::joinPath(programDirectory, "Sound");
}

std::uint8_t themeFileNumber(const std::string& themeName, const std::string& fileName) {
    const std::string prefix = themeName + "_";
    if (fileName.size() < prefix.size() + kExtensionLength || !sameTextIgnoringCase(fileName, 0, prefix) ||
        !sameTextIgnoringCase(fileName, fileName.size() - kExtensionLength, kExtension))
        return 0;
    return static_cast<std::uint8_t>(leadingNumber(fileName.substr(prefix.size())));
}

SoundTheme::SoundTheme(std::string name, std::string directory, platform::SoundPlayer& player)
    : name_(std::move(name)), directory_(std::move(directory)), player_(player) {
    scanThemeFiles();
    shuffle();
}

void SoundTheme::scanThemeFiles() {
    for (const platform::DirectoryEntry& entry : platform::listDirectory(directory_)) {
        if (numbers_.size() == kMaxFiles) break;
        if (entry.isDirectory()) continue;
        const std::uint8_t number = themeFileNumber(name_, entry.name);
        if (number != 0) numbers_.push_back(number);
    }
}

void SoundTheme::shuffle() { recordShuffle(numbers_.data(), static_cast<std::int32_t>(numbers_.size()), 1); }

std::string SoundTheme::playName(std::uint8_t number) const {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%.2u", unsigned {number});
    return platform::joinPath(directory_, name_ + "_" + digits + kExtension);
}

bool SoundTheme::playTheme(unsigned flags) {
    if (numbers_.empty()) return false;
    if (playPos_ >= numbers_.size()) {
        playPos_ = 0;
        shuffle();
    }
    const bool started = player_.play(playName(numbers_[playPos_]), flags | platform::soundFlag::noDefault);
    if (started) ++playPos_;
    return started;
}

SoundThemes::SoundThemes(const std::string& programDirectory, platform::SoundPlayer& player) {
    const std::string directory = soundDirectory(programDirectory);
    themes_.reserve(kThemeNames.size());
    for (const char* name : kThemeNames) themes_.emplace_back(name, directory, player);
}

}  // namespace dactyla
