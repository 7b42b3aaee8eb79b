#include "drill/session_summary.h"

#include <array>
#include <cstdio>
#include "texts/interface_texts.h"

namespace dactyla {
namespace {

// The single-precision value nearest to 1/60, widened: it lies just above 1/60, so 300
// characters in 2:30 make 119, not 120.
constexpr double kMinutesPerSecond = static_cast<double>(0.016666668f);

std::uint32_t speedOf(std::uint32_t correctCount, std::uint8_t minutes, std::uint8_t seconds) {
    const double typingMinutes = minutes + seconds * kMinutesPerSecond;
    // Under one second there is no time to divide by.
    if (typingMinutes <= 0.0) return 0;
    return static_cast<std::uint32_t>(correctCount / typingMinutes);
}

}  // namespace

SessionSummary summarizeSession(std::uint32_t elapsedMs, std::uint32_t correctCount,
                                std::uint32_t errorCount) {
    SessionSummary summary;
    summary.minutes = static_cast<std::uint8_t>(elapsedMs / 60000);
    summary.seconds = static_cast<std::uint8_t>(elapsedMs % 60000 / 1000);
    summary.correctCount = correctCount;
    summary.errorCount = errorCount;
    summary.speed = speedOf(correctCount, summary.minutes, summary.seconds);
    // In 64 bits, so neither the sum nor errorCount * 100 wraps; below 2^24 the floats are
    // exactly those of 16-bit counts.
    const std::uint64_t keystrokes = std::uint64_t{ correctCount } + errorCount;
    if (keystrokes != 0)
        summary.errorPercent =
            static_cast<float>(std::uint64_t{ errorCount } * 100u) / static_cast<float>(keystrokes);
    return summary;
}

std::string summaryText(const SessionSummary& summary) {
    std::array<char, 512> text{};
    // 32-bit counts; only a session of four billion keystrokes would wrap their sum.
    const std::uint32_t keystrokes = summary.correctCount + summary.errorCount;
    const int length = std::snprintf(text.data(), text.size(), texts::textC("session.summary"), unsigned{ summary.minutes },
                                     unsigned{ summary.seconds }, unsigned{ summary.correctCount },
                                     unsigned{ keystrokes }, static_cast<double>(summary.errorPercent),
                                     unsigned{ summary.errorCount }, unsigned{ summary.speed });
    return length > 0 ? std::string(text.data(), static_cast<std::size_t>(length)) : std::string();
}

ThemeId themeForSpeed(std::uint32_t speed) {
    if (speed < 60) return ThemeId::suxx;
    if (speed < 120) return ThemeId::laugh;
    return ThemeId::yes;
}

}  // namespace dactyla
