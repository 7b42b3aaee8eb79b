#include "progress/results_history.h"

#include <algorithm>
#include <cstdio>

#include "base/decimal.h"
#include "platform/file.h"

namespace dactyla {
namespace {

constexpr unsigned kMaxSpeed = 0xFFFF;
constexpr unsigned kMaxMinutes = 0xFF;

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> found;
    std::size_t k = 0;
    while (k < line.size()) {
        while (k < line.size() && line[k] == ' ') ++k;
        const std::size_t start = k;
        while (k < line.size() && line[k] != ' ') ++k;
        if (k > start) found.push_back(line.substr(start, k - start));
    }
    return found;
}

// A column of at most nine digits.
std::optional<unsigned> number(std::string_view text, unsigned max) {
    if (text.size() > 9) return std::nullopt;
    return parseDecimal(text, max);
}

std::optional<platform::Date> date(std::string_view text) {
    if (text.size() < 7 || text[2] != '.' || text[5] != '.') return std::nullopt;
    const auto day = number(text.substr(0, 2), 31);
    const auto month = number(text.substr(3, 2), 12);
    const auto year = number(text.substr(6), 999999);
    if (!day || !month || !year || *day == 0 || *month == 0) return std::nullopt;
    return platform::Date {.year = static_cast<int>(*year), .month = static_cast<int>(*month),
                           .day = static_cast<int>(*day)};
}

// "1.5%": digits, a point, one digit, the percent sign.
std::optional<float> percent(std::string_view text) {
    if (text.size() < 4 || text.back() != '%' || text[text.size() - 3] != '.') return std::nullopt;
    const auto whole = number(text.substr(0, text.size() - 3), 100);
    const auto tenth = number(text.substr(text.size() - 2, 1), 9);
    if (!whole || !tenth || (*whole == 100 && *tenth != 0)) return std::nullopt;
    return static_cast<float>(*whole) + static_cast<float>(*tenth) / 10.0f;
}

bool duration(std::string_view text, LoggedSession& session) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || text.size() - colon != 3) return false;
    const auto minutes = number(text.substr(0, colon), kMaxMinutes);
    const auto seconds = number(text.substr(colon + 1), 59);
    if (!minutes || !seconds) return false;
    session.minutes = static_cast<std::uint8_t>(*minutes);
    session.seconds = static_cast<std::uint8_t>(*seconds);
    return true;
}

// "A p", "a p", "A" or "a": capitals allowed or not, then uniform letters or a space.
bool alphabetSuffix(const std::vector<std::string_view>& all) {
    if (all.size() == 4) return false;
    if (all[4] != "A" && all[4] != "a") return false;
    return all.size() == 5 || all[5] == "p";
}

}  // namespace

std::optional<LoggedSession> parseResultLine(std::string_view line) {
    if (line.empty() || line[0] != ' ') return std::nullopt;
    const auto all = words(line);
    if (all.size() < 4 || all.size() > 6) return std::nullopt;
    LoggedSession session;
    const auto day = date(all[0]);
    const auto speed = number(all[1], kMaxSpeed);
    const auto errors = percent(all[2]);
    if (!day || !speed || !errors || !duration(all[3], session)) return std::nullopt;
    if (all.size() > 4 && !alphabetSuffix(all)) return std::nullopt;
    session.date = *day;
    session.speed = static_cast<std::uint16_t>(*speed);
    session.errorPercent = *errors;
    session.alphabet = all.size() > 4;
    return session;
}

ResultsHistory parseResultsHistory(std::string_view log) {
    ResultsHistory history;
    std::size_t start = 0;
    while (start < log.size()) {
        std::size_t end = log.find('\n', start);
        if (end == std::string_view::npos) end = log.size();
        std::string_view line = log.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        start = end + 1;
        if (line.empty()) continue;
        if (auto session = parseResultLine(line))
            history.sessions.push_back(*session);
        else
            ++history.skippedLines;
    }
    // The log keeps the newest line first.
    std::reverse(history.sessions.begin(), history.sessions.end());
    return history;
}

ResultsHistory readResultsHistory(const std::string& path) {
    const auto log = platform::readWholeFile(path);
    return log ? parseResultsHistory(*log) : ResultsHistory {};
}

ProgressSeries buildProgressSeries(const std::vector<LoggedSession>& sessions) {
    ProgressSeries series;
    if (sessions.empty()) return series;
    series.first = sessions.front().date;
    series.last = sessions.back().date;
    double windowSum = 0;
    for (std::size_t k = 0; k < sessions.size(); ++k) {
        const LoggedSession& session = sessions[k];
        series.speed.push_back(session.speed);
        series.errorPercent.push_back(session.errorPercent);
        series.totalSeconds += session.minutes * 60u + session.seconds;
        windowSum += session.speed;
        if (k >= kMovingAverageSessions) windowSum -= sessions[k - kMovingAverageSessions].speed;
        const std::size_t inWindow = k + 1 < kMovingAverageSessions ? k + 1 : kMovingAverageSessions;
        series.movingAverage.push_back(windowSum / static_cast<double>(inWindow));
        if (!series.best || session.speed > sessions[*series.best].speed) series.best = k;
    }
    series.recentAverage = series.movingAverage.back();
    return series;
}

std::string formatDate(const platform::Date& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2u.%.2u.%u", static_cast<unsigned>(date.day),
                  static_cast<unsigned>(date.month), static_cast<unsigned>(date.year));
    return text;
}

}  // namespace dactyla
