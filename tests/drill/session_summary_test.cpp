#include "drill/session_summary.h"

#include <gtest/gtest.h>

#include "drill/drill_effects.h"
#include "platform/cp1251.h"

namespace dactyla {
namespace {

std::uint32_t ms(int minutes, int seconds) {
    return static_cast<std::uint32_t>((minutes * 60 + seconds) * 1000);
}

TEST(SessionSummary, SpeedIsCharactersPerMinuteTruncated) {
    EXPECT_EQ(summarizeSession(ms(2, 0), 240, 0).speed, 120u);
    EXPECT_EQ(summarizeSession(ms(2, 0), 120, 0).speed, 60u);
    EXPECT_EQ(summarizeSession(ms(2, 0), 119, 0).speed, 59u);
    // The seconds' factor lies just above 1/60, so 2:30 is a hair longer than 2.5 minutes.
    EXPECT_EQ(summarizeSession(ms(2, 30), 300, 0).speed, 119u);
    EXPECT_EQ(summarizeSession(ms(2, 30), 301, 0).speed, 120u);
    EXPECT_EQ(summarizeSession(ms(0, 1), 65535, 0).speed, 3932099u);
}

TEST(SessionSummary, ErrorsDoNotSlowTheSpeedButMakeTheirShareOfKeystrokes) {
    const SessionSummary s = summarizeSession(ms(1, 0), 200, 50);
    EXPECT_EQ(s.speed, 200u);
    EXPECT_FLOAT_EQ(s.errorPercent, 20.0f);
    EXPECT_FLOAT_EQ(summarizeSession(ms(1, 0), 2, 1).errorPercent, 100.0f / 3.0f);
    EXPECT_FLOAT_EQ(summarizeSession(ms(1, 0), 0, 9).errorPercent, 100.0f);
    EXPECT_EQ(summarizeSession(ms(1, 0), 0, 0).errorPercent, 0.0f);
}

TEST(SessionSummary, UnderOneSecondThereIsNoSpeed) {
    const SessionSummary s = summarizeSession(999, 40, 0);
    EXPECT_EQ(s.minutes, 0);
    EXPECT_EQ(s.seconds, 0);
    EXPECT_EQ(s.speed, 0u);
    EXPECT_EQ(themeForSpeed(s.speed), ThemeId::suxx);
}

TEST(SessionSummary, MillisecondsBelowTheLastSecondAreDroppedAndTwoMinutesAreLogged) {
    const SessionSummary short1 = summarizeSession(ms(2, 0) - 1, 10, 0);
    EXPECT_EQ(short1.minutes, 1);
    EXPECT_EQ(short1.seconds, 59);
    EXPECT_FALSE(worthLogging(short1));
    EXPECT_TRUE(worthLogging(summarizeSession(ms(2, 0), 10, 0)));
    EXPECT_TRUE(worthLogging(summarizeSession(ms(2, 0) + 999, 10, 0)));
}

TEST(SessionSummary, MinutesWrapAfter255) {
    const SessionSummary s = summarizeSession(ms(256, 7), 10, 0);
    EXPECT_EQ(s.minutes, 0);
    EXPECT_EQ(s.seconds, 7);
}

TEST(SessionSummary, TheResultSoundChangesAtSixtyAndOneHundredTwenty) {
    EXPECT_EQ(themeForSpeed(0), ThemeId::suxx);
    EXPECT_EQ(themeForSpeed(59), ThemeId::suxx);
    EXPECT_EQ(themeForSpeed(60), ThemeId::laugh);
    EXPECT_EQ(themeForSpeed(119), ThemeId::laugh);
    EXPECT_EQ(themeForSpeed(120), ThemeId::yes);
    EXPECT_EQ(themeForSpeed(1000), ThemeId::yes);
}

TEST(SessionSummary, TheTextIsCp1251ByteForByte) {
    const std::string text = summaryText(summarizeSession(ms(12, 7), 1500, 37));
    const std::string expected = platform::utf8ToCp1251(
        "Время:   12:07\n\nНатыкано:\n• символов  -  1500  (1537)\n• ошибок  -  2.4%  (37)\n\n"
        "СКОРОСТЬ:   123 сим/мин\n\n   Завершить сеанс ?");
    EXPECT_EQ(text, expected);
    EXPECT_NE(text.find('\x95'), std::string::npos);
}

TEST(SessionSummary, WideClocksAndCountsAreNotCut) {
    const std::string text = summaryText(summarizeSession(ms(255, 59), 65535, 65535));
    EXPECT_EQ(text.rfind(platform::utf8ToCp1251("Время:  255:59"), 0), 0u);
    EXPECT_NE(text.find("65535  (131070)"), std::string::npos);
    EXPECT_NE(text.find("50.0%  (65535)"), std::string::npos);
}

TEST(SessionSummary, CountsPastSixteenBitsKeepTheirSpeedShareAndText) {
    const SessionSummary s = summarizeSession(ms(100, 0), 100000, 300000);
    EXPECT_EQ(s.correctCount, 100000u);
    EXPECT_EQ(s.speed, 1000u);
    EXPECT_FLOAT_EQ(s.errorPercent, 75.0f);
    EXPECT_NE(summaryText(s).find("100000  (400000)"), std::string::npos);
    // Far beyond any session, errorCount * 100 still does not wrap.
    EXPECT_FLOAT_EQ(summarizeSession(ms(1, 0), 0, 0xFFFFFFFFu).errorPercent, 100.0f);
}

}  // namespace
}  // namespace dactyla

namespace dactyla {
namespace {

TEST(SummaryPointer, CentredAndThreeFifthsDownWithTheFifthTakenFirst) {
    const struct {
        ScreenSize screen;
        ScreenPoint expected;
    } cases[] = {{{801, 599}, {400, 119 * 3}}, {{1280, 1024}, {640, 612}}, {{0, 0}, {0, 0}}};
    for (const auto& c : cases) {
        const ScreenPoint point = summaryPointerPoint(c.screen);
        EXPECT_EQ(point.x, c.expected.x) << c.screen.width;
        EXPECT_EQ(point.y, c.expected.y) << c.screen.height;
    }
}

}  // namespace
}  // namespace dactyla
