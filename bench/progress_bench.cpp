// The progress chart must open at once: reading a long results log into the chart's series, and
// storing a session's key counts, which rewrites the whole statistics file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "platform/directory.h"
#include "platform/file.h"
#include "platform/system.h"
#include "users/key_map.h"
#include "users/key_statistics.h"
#include "users/results_history.h"
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
BENCHMARK(chartSeriesFromALogOf)->Arg(10000)->Unit(benchmark::kMillisecond);

void heatMapFromTheStatisticsFile(benchmark::State& state) {
    const std::string user = freshUserDirectory();
    KeyCounts counts;
    for (unsigned byte = 0x20; byte < kByteValues; ++byte)
        for (unsigned k = 0; k < byte % 7; ++k) counts.countWrong(static_cast<unsigned char>(byte), 'x');
    addKeyStatistics(user, true, counts);
    for (auto _ : state) {
        const LoadedKeyStatistics loaded = loadKeyStatistics(keyStatisticsPath(user, true));
        const auto scores = scoreKeys(loaded.counts, true);
        benchmark::DoNotOptimize(heatColour(weakestKeys(scores, 5).front()));
    }
    removeUser(user);
}
BENCHMARK(heatMapFromTheStatisticsFile)->Unit(benchmark::kMillisecond);

void storeASessionsKeyCounts(benchmark::State& state) {
    const std::string user = freshUserDirectory();
    KeyCounts session;
    for (int k = 0; k < 1000; ++k) session.countCorrect(static_cast<unsigned char>('a' + k % 26));
    session.countWrong('a', 's');
    for (auto _ : state)
        if (addKeyStatistics(user, false, session) != KeySaveResult::saved) state.SkipWithError("not saved");
    removeUser(user);
}
BENCHMARK(storeASessionsKeyCounts)->Unit(benchmark::kMillisecond);

}  // namespace
