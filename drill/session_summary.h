#pragma once
// The figures of an ended session and the text of its summary box.
#include <cstdint>
#include <string>

#include "sound/theme_id.h"

namespace dactyla {

struct SessionSummary {
    std::uint8_t minutes = 0;  // whole minutes of typing time, wrapping after 255
    std::uint8_t seconds = 0;  // 0..59; milliseconds below the last full second are dropped
    std::uint32_t correctCount = 0;
    std::uint32_t errorCount = 0;
    std::uint32_t speed = 0;    // characters per minute, truncated; 0 for a session under a second
    float errorPercent = 0.0f;  // 0 without keystrokes
};

SessionSummary summarizeSession(std::uint32_t elapsedMs, std::uint32_t correctCount,
                                std::uint32_t errorCount);

// The CP1251 text of the Yes/No box that asks whether to end the session.
std::string summaryText(const SessionSummary& summary);

// The result sound of a session: "Suxx" below 60, "Laugh" to 119, "Yes" from 120.
ThemeId themeForSpeed(std::uint32_t speed);

// At least two whole minutes of typing make a line in the results log.
inline bool worthLogging(const SessionSummary& summary) {
    return summary.minutes > 1;
}

}  // namespace dactyla
