// The progress chart must open at once: reading a long results log into the chart's series and
// the statistics file into the heat map and the mastery of every key; and storing a session's
// keystrokes, which rewrites the whole statistics file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/directory.h"
#include "platform/file.h"
#include "platform/system.h"
#include "progress/key_map.h"
#include "progress/key_statistics.h"
#include "progress/mastery.h"
#include "progress/results_history.h"
#include "users/results_log.h"

namespace {

using namespace dactyla;

std::string freshUserDirectory() {
    for (unsigned attempt = 0;; ++attempt) {
        const std::string path = platform::joinPath(
            platform::temporaryDirectory(),
            "dactyla-progress-bench-" + std::to_string(platform::tickCount()) + "-" + std::to_string(attempt));
        if (platform::createDirectory(path)) return path;
    }
}

// Sessions of varied speed and errors, every fifth an alphabet drill.
void writeLog(const std::string& path, int lines) {
    Options plain;
    Options alphabet;
    alphabet.alphabetMode = 1;
    std::string content;
    for (int k = 0; k < lines; ++k) {
        const SessionResult result {.speed = static_cast<std::uint16_t>(100 + k % 250),
                                    .errorPercent = static_cast<float>(k % 70) / 10.0f,
                                    .minutes = static_cast<std::uint8_t>(2 + k % 9),
                                    .seconds = static_cast<std::uint8_t>(k % 60)};
        const platform::Date date {.year = 2000 + k / 365, .month = 1 + k / 28 % 12, .day = 1 + k % 28};
        content += formatResultLine(result, k % 5 == 0 ? alphabet : plain, date);
    }
    platform::File file = platform::File::open(path, {.mode = platform::OpenMode::createAlways});
    file.write(content.data(), content.size());
}

void removeUser(const std::string& user) {
    std::error_code ignored;
    std::filesystem::remove_all(user, ignored);  // an ASCII path, the same in every encoding
}

void chartSeriesFromALogOf(benchmark::State& state) {
    const std::string user = freshUserDirectory();
    const std::string log = resultsPath(user, Options {});
    writeLog(log, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const ResultsHistory history = readResultsHistory(log);
        const ProgressSeries series = buildProgressSeries(history.sessions);
        if (series.speed.size() != static_cast<std::size_t>(state.range(0))) state.SkipWithError("lines lost");
        benchmark::DoNotOptimize(series.recentAverage);
    }
    removeUser(user);
}
BENCHMARK(chartSeriesFromALogOf)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Every result rewrites the whole log through a temporary file: the cost grows with the log.
void prependAResultToALogOf(benchmark::State& state) {
    const std::string user = freshUserDirectory();
    const Options options;
    writeLog(resultsPath(user, options), static_cast<int>(state.range(0)));
    const SessionResult result {.speed = 200, .errorPercent = 1.5f, .minutes = 5, .seconds = 7};
    for (auto _ : state)
        if (!appendResult(user, options, result, platform::Date {2026, 12, 6})) state.SkipWithError("not written");
    removeUser(user);
}
BENCHMARK(prependAResultToALogOf)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A session of `keystrokes` over every letter, space and punctuation byte, one wrong press in
// twenty, previous characters varied so that about 2000 pairs are typed.
void typeSession(std::size_t keystrokes, KeyCounts& counts, std::vector<TimedKeystroke>& timed) {
    for (std::size_t k = 0; k < keystrokes; ++k) {
        const auto expected = static_cast<unsigned char>(0x20 + k * 37 % 224);
        const auto previous = static_cast<unsigned char>(0x20 + (k * 11 + k / 224 % 9) % 224);
        if (k % 20 == 0) {
            counts.countWrong(expected, 'x');
            timed.push_back({.expected = expected});
        }
        counts.countCorrect(expected);
        timed.push_back({.expected = expected, .previous = previous, .correct = true, .timed = true,
                         .latencyMs = static_cast<std::uint32_t>(150 + k * 7 % 400), .reactionMs = 120});
    }
}

// Statistics after long use: every ring full, about 2000 pairs (a file of some 400 KB).
std::string wellUsedUser() {
    const std::string user = freshUserDirectory();
    KeyCounts counts;
    std::vector<TimedKeystroke> timed;
    typeSession(60000, counts, timed);
    addKeyStatistics(user, true, counts, timed);
    return user;
}

void heatMapFromTheStatisticsFile(benchmark::State& state) {
    const std::string user = wellUsedUser();
    for (auto _ : state) {
        const LoadedKeyStatistics loaded = loadKeyStatistics(keyStatisticsPath(user, true));
        const auto scores = scoreKeys(loaded.counts, true, loaded.timing);
        benchmark::DoNotOptimize(masteryColour(leastMasteredKeys(scores, 5).front()));
        benchmark::DoNotOptimize(heatColour(weakestKeys(scores, 5).front()));
    }
    removeUser(user);
}
BENCHMARK(heatMapFromTheStatisticsFile)->Unit(benchmark::kMillisecond);

// What the course and the keyboard guide do at a session's start.
void masteryOfEveryByteFromTheStatisticsFile(benchmark::State& state) {
    const std::string user = wellUsedUser();
    for (auto _ : state) {
        const LoadedKeyStatistics loaded = loadKeyStatistics(keyStatisticsPath(user, true));
        double sum = 0;
        for (unsigned byte = 0; byte < kByteValues; ++byte)
            sum += mastery(loaded.timing.key(static_cast<unsigned char>(byte))).value_or(0);
        benchmark::DoNotOptimize(sum);
    }
    removeUser(user);
}
BENCHMARK(masteryOfEveryByteFromTheStatisticsFile)->Unit(benchmark::kMillisecond);

// Ten minutes at 250 characters a minute added to the well-used file.
void storeASessionsKeyCounts(benchmark::State& state) {
    const std::string user = wellUsedUser();
    KeyCounts session;
    std::vector<TimedKeystroke> timed;
    typeSession(2500, session, timed);
    for (auto _ : state)
        if (addKeyStatistics(user, true, session, timed) != KeySaveResult::saved) state.SkipWithError("not saved");
    state.counters["file_bytes"] = static_cast<double>(platform::readWholeFile(keyStatisticsPath(user, true))->size());
    removeUser(user);
}
BENCHMARK(storeASessionsKeyCounts)->Unit(benchmark::kMillisecond);

}  // namespace
