#pragma once
// The ten sound themes, in the order the program creates them.
#include <array>

namespace dactyla {

enum class ThemeId { bkGround, error, yes, no, suxx, laugh, pause, start, exit, loop };

inline constexpr std::array<const char*, 10> kThemeNames = {
    "BkGround", "Error", "Yes", "No", "Suxx", "Laugh", "Pause", "Start", "Exit", "Loop"};

inline constexpr const char* themeName(ThemeId id) { return kThemeNames[static_cast<int>(id)]; }

}  // namespace dactyla
