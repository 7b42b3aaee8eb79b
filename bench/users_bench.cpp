// The results log is rewritten whole for every result, so its cost grows with the log.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "platform/directory.h"
#include "platform/file.h"
#include "platform/system.h"
#include "users/results_log.h"

namespace {

using namespace dactyla;

constexpr platform::Date kDate {.year = 2026, .month = 12, .day = 6};
constexpr SessionResult kResult {.speed = 215, .errorPercent = 1.5f, .minutes = 5, .seconds = 7};

std::string freshUserDirectory() {
    for (unsigned attempt = 0;; ++attempt) {
        const std::string path = platform::joinPath(
            platform::temporaryDirectory(),
            "dactyla-users-bench-" + std::to_string(platform::tickCount()) + "-" + std::to_string(attempt));
        if (platform::createDirectory(path)) return path;
    }
}

void writeLog(const std::string& path, int lines) {
    const Options options;
    std::string content;
    for (int i = 0; i < lines; ++i) content += formatResultLine(kResult, options, kDate);
    platform::File file = platform::File::open(path, {.mode = platform::OpenMode::createAlways});
    file.write(content.data(), content.size());
}

void appendResultToALogOf(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    const std::string user = freshUserDirectory();
    const Options options;
    const std::string log = resultsPath(user, options);
    for (auto _ : state) {
        state.PauseTiming();
        writeLog(log, lines);
        state.ResumeTiming();
        if (!appendResult(user, options, kResult, kDate)) state.SkipWithError("appendResult failed");
    }
    state.counters["log bytes"] = static_cast<double>(platform::readWholeFile(log).value_or("").size());
    std::error_code ignored;
    std::filesystem::remove_all(user, ignored);  // an ASCII path, the same in every encoding
}
BENCHMARK(appendResultToALogOf)->Arg(10000)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
