#pragma once
// Themes of numbered WAV files under Sound beside the program ("Error_01.wav", "Error_02.wav"
// ...). Each request plays the theme's next file; the files play in a shuffled order, each once,
// before the order is shuffled again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/sound_player.h"
#include "sound/theme_id.h"

namespace dactyla {

// The program directory followed by "Sound".
std::string soundDirectory(const std::string& programDirectory);

// The number of `fileName` as a file of theme `themeName` ("Yes_07.wav" gives 7, matched without
// regard to case); 0 when the file is not the theme's or its number lies outside 1..255.
std::uint8_t themeFileNumber(const std::string& themeName, const std::string& fileName);

class SoundTheme {
public:
    // Numbers are bytes, so a theme holds at most this many files; further matches are ignored.
    static constexpr std::size_t kMaxFiles = 255;

    // Scans `directory` for the theme's files and shuffles them. `player` must outlive the theme.
    SoundTheme(std::string name, std::string directory, platform::SoundPlayer& player);

    // Plays the next file with `flags` (always adding noDefault) and moves on only when the
    // player started it, so a refused request retries the same file.
    bool playTheme(unsigned flags);

    const std::string& name() const { return name_; }
    // The file numbers in the current order.
    const std::vector<std::uint8_t>& numbers() const { return numbers_; }
    std::size_t playPos() const { return playPos_; }
    // "<directory>/<name>_07.wav": at least two digits.
    std::string playName(std::uint8_t number) const;

private:
    void scanThemeFiles();
    void shuffle();

    std::string name_;
    std::string directory_;
    platform::SoundPlayer& player_;
    std::vector<std::uint8_t> numbers_;
    std::size_t playPos_ = 0;
};

// The program's ten themes, created in the order of ThemeId.
class SoundThemes {
public:
    SoundThemes(const std::string& programDirectory, platform::SoundPlayer& player);

    SoundTheme& operator[](ThemeId id) { return themes_[static_cast<std::size_t>(id)]; }
    const SoundTheme& operator[](ThemeId id) const { return themes_[static_cast<std::size_t>(id)]; }
    bool play(ThemeId id, unsigned flags) { return (*this)[id].playTheme(flags); }

private:
    std::vector<SoundTheme> themes_;
};

}  // namespace dactyla
