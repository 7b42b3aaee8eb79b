#pragma once
// The results log read back for the progress chart and the stats command: every line the program
// writes, oldest first, with the series the chart draws.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system.h"

namespace dactyla {

struct LoggedSession {
    platform::Date date;
    std::uint16_t speed = 0;  // characters per minute
    float errorPercent = 0;
    std::uint8_t minutes = 0;
    std::uint8_t seconds = 0;
    bool alphabet = false;  // the line carries the alphabet-drill suffix
};

// One line without its CR LF, as formatResultLine writes it; empty for anything else.
std::optional<LoggedSession> parseResultLine(std::string_view line);

struct ResultsHistory {
    std::vector<LoggedSession> sessions;  // oldest first
    std::size_t skippedLines = 0;         // lines that are not results (edited by hand, foreign)
};

// `log` is the whole file, newest line first.
ResultsHistory parseResultsHistory(std::string_view log);
// A missing or unreadable log reads as no sessions.
ResultsHistory readResultsHistory(const std::string& path);

inline constexpr std::size_t kMovingAverageSessions = 10;

struct ProgressSeries {
    std::vector<double> speed;          // per session, oldest first
    std::vector<double> movingAverage;  // mean speed of this and up to 9 sessions before it
    std::vector<double> errorPercent;
    std::optional<std::size_t> best;  // the fastest session; the earliest of equals
    platform::Date first;
    platform::Date last;
    std::uint64_t totalSeconds = 0;
    double recentAverage = 0;  // the moving average at the newest session
};

ProgressSeries buildProgressSeries(const std::vector<LoggedSession>& sessions);

// "06.12.2026".
std::string formatDate(const platform::Date& date);

}  // namespace dactyla
