#include "progress/results_history.h"

#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <string>

#include "support/temp_dir.h"
#include "users/results_log.h"

namespace dactyla {
namespace {

using ::testing::IsEmpty;

Options withDrill(bool alphabet, bool capitals, bool uniform) {
    Options options;
    options.alphabetMode = alphabet ? 1 : 0;
    options.allowCapitals = capitals ? 1 : 0;
    options.uniformLetters = uniform ? 1 : 0;
    return options;
}

std::string withoutLineEnd(std::string line) {
    line.resize(line.size() - 2);
    return line;
}

TEST(ResultsHistory, ReadsBackEveryLineTheProgramWrites) {
    const SessionResult results[] = {
        {.speed = 215, .errorPercent = 1.5f, .minutes = 5, .seconds = 7},
        {.speed = 0, .errorPercent = 0.0f, .minutes = 2, .seconds = 0},
        {.speed = 65535, .errorPercent = 100.0f, .minutes = 255, .seconds = 59},
        {.speed = 9, .errorPercent = 12.34f, .minutes = 10, .seconds = 30},
    };
    const platform::Date dates[] = {{.year = 2026, .month = 12, .day = 6}, {.year = 987, .month = 1, .day = 31}};
    const Options drills[] = {withDrill(false, true, true), withDrill(true, true, true), withDrill(true, false, true),
                              withDrill(true, true, false), withDrill(true, false, false)};
    for (const SessionResult& result : results)
        for (const platform::Date& date : dates)
            for (const Options& options : drills) {
                const std::string line = formatResultLine(result, options, date);
                SCOPED_TRACE(line);
                const auto read = parseResultLine(withoutLineEnd(line));
                ASSERT_TRUE(read.has_value());
                EXPECT_EQ(read->date.year, date.year);
                EXPECT_EQ(read->date.month, date.month);
                EXPECT_EQ(read->date.day, date.day);
                EXPECT_EQ(read->speed, result.speed);
                EXPECT_NEAR(read->errorPercent, result.errorPercent, 0.05f);
                EXPECT_EQ(read->minutes, result.minutes);
                EXPECT_EQ(read->seconds, result.seconds);
                EXPECT_EQ(read->alphabet, options.alphabetMode != 0);
            }
}

TEST(ResultsHistory, RefusesLinesItDidNotWrite) {
    const char* foreign[] = {
        "",
        "06.12.2026    215    1.5%    5:07",          // no leading space
        " 06.12.2026    215    1.5%",                 // no duration
        " 06.12.2026    215    1.5     5:07",         // no percent sign
        " 06.12.2026   -215    1.5%    5:07",         // a sign
        " 06.12.2026  65536    1.5%    5:07",         // speed beyond 16 bits
        " 06.13.2026    215    1.5%    5:07",         // month 13
        " 00.12.2026    215    1.5%    5:07",         // day 0
        " 6.12.2026    215    1.5%    5:07",          // one-digit day
        " 06.12.2026    215  100.1%    5:07",         // above 100 %
        " 06.12.2026    215   1.55%    5:07",         // two decimals
        " 06.12.2026    215    1.5%    5:60",         // 60 seconds
        " 06.12.2026    215    1.5%  256:07",         // minutes beyond 8 bits
        " 06.12.2026    215    1.5%    5:7",          // one-digit seconds
        " 06.12.2026    215    1.5%    5:07   B p",   // unknown suffix
        " 06.12.2026    215    1.5%    5:07   A q",
        " 06.12.2026    215    1.5%    5:07   A p x",
        " Notes: typed at home",
    };
    for (const char* line : foreign) EXPECT_FALSE(parseResultLine(line).has_value()) << "'" << line << "'";
}

TEST(ResultsHistory, ALogIsReadOldestFirstAndSkipsForeignLines) {
    const std::string log =
        " 07.12.2026    230    1.0%    3:00\r\n"
        "a note someone added\r\n"
        "\r\n"
        " 06.12.2026    200    2.0%    2:30   a p\r\n"
        " 05.12.2026    180    3.5%    4:00\n"  // a line end changed by an editor
        " 04.12.2026    170    4.0%    2:00";   // no line end at all
    const ResultsHistory history = parseResultsHistory(log);
    ASSERT_EQ(history.sessions.size(), 4u);
    EXPECT_EQ(history.skippedLines, 1u);
    EXPECT_EQ(history.sessions[0].speed, 170);
    EXPECT_EQ(history.sessions[2].speed, 200);
    EXPECT_TRUE(history.sessions[2].alphabet);
    EXPECT_EQ(history.sessions[3].date.day, 7);

    testing::TempDir user;
    user.write("Results - Rus.txt", log);
    EXPECT_EQ(readResultsHistory(user.file("Results - Rus.txt")).sessions.size(), 4u);
    EXPECT_THAT(readResultsHistory(user.file("Results - Eng.txt")).sessions, IsEmpty());
}

LoggedSession session(std::uint16_t speed, float errors, int day) {
    return {.date = {.year = 2026, .month = 11, .day = day}, .speed = speed, .errorPercent = errors, .minutes = 2,
            .seconds = 30};
}

TEST(ProgressSeries, AveragesOverTheLastTenSessionsAndMarksTheFirstBest) {
    std::vector<LoggedSession> sessions;
    const std::uint16_t speeds[] = {100, 110, 120, 130, 140, 150, 160, 170, 180, 190, 300, 200, 300};
    for (std::size_t k = 0; k < std::size(speeds); ++k)
        sessions.push_back(session(speeds[k], static_cast<float>(k), static_cast<int>(k + 1)));
    const ProgressSeries series = buildProgressSeries(sessions);

    ASSERT_EQ(series.speed.size(), sessions.size());
    ASSERT_EQ(series.movingAverage.size(), sessions.size());
    EXPECT_DOUBLE_EQ(series.movingAverage[0], 100);
    EXPECT_DOUBLE_EQ(series.movingAverage[1], 105);
    EXPECT_DOUBLE_EQ(series.movingAverage[9], 145) << "the first ten";
    EXPECT_DOUBLE_EQ(series.movingAverage[10], 165) << "the oldest leaves the window";
    EXPECT_DOUBLE_EQ(series.movingAverage[12], 192);
    EXPECT_DOUBLE_EQ(series.recentAverage, series.movingAverage[12]);
    EXPECT_EQ(series.best, 10u) << "the earliest of two equal bests";
    EXPECT_DOUBLE_EQ(series.errorPercent[4], 4.0);
    EXPECT_EQ(series.first.day, 1);
    EXPECT_EQ(series.last.day, 13);
    EXPECT_EQ(series.totalSeconds, 13u * 150u);
    EXPECT_EQ(formatDate(series.last), "13.11.2026");
}

TEST(ProgressSeries, NoSessionsGiveEmptySeriesAndNoBest) {
    const ProgressSeries series = buildProgressSeries({});
    EXPECT_THAT(series.speed, IsEmpty());
    EXPECT_THAT(series.movingAverage, IsEmpty());
    EXPECT_FALSE(series.best.has_value());
    EXPECT_EQ(series.totalSeconds, 0u);
}

}  // namespace
}  // namespace dactyla
