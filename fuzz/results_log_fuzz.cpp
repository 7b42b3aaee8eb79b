// Any bytes as a results log, read as the progress chart and `dactyla-text stats` read it: no
// line is counted twice, every session read back is one the program could have written (it
// formats and reads back the same), the chart's series agree with the sessions, and the tool
// reports on it without failing.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "platform/directory.h"
#include "progress/results_history.h"
#include "tools/dactyla_text/arguments.h"
#include "tools/dactyla_text/commands.h"
#include "tools/dactyla_text/stats_command.h"
#include "users/results_log.h"

namespace {

using namespace dactyla;
using fuzz::require;

std::size_t linesIn(std::string_view log) {
    std::size_t lines = 0;
    for (char c : log) lines += c == '\n';
    return lines + (log.empty() || log.back() == '\n' ? 0 : 1);
}

void requireWritable(const LoggedSession& session) {
    Options options;
    options.alphabetMode = session.alphabet ? 1 : 0;
    const SessionResult result {session.speed, session.errorPercent, session.minutes, session.seconds};
    std::string line = formatResultLine(result, options, session.date);
    require(line.size() >= 2 && line.ends_with("\r\n"), "a formatted line ends in CR LF");
    line.resize(line.size() - 2);
    const auto again = parseResultLine(line);
    require(again.has_value(), "what the reader accepts, the writer can write");
    require(again->date.year == session.date.year && again->date.month == session.date.month &&
                again->date.day == session.date.day && again->speed == session.speed &&
                again->minutes == session.minutes && again->seconds == session.seconds &&
                again->alphabet == session.alphabet,
            "a written session reads back the same");
    require(std::fabs(again->errorPercent - session.errorPercent) <= 0.051f, "the error share to one decimal");
}

void requireSeries(const ResultsHistory& history) {
    const ProgressSeries series = buildProgressSeries(history.sessions);
    const std::size_t count = history.sessions.size();
    require(series.speed.size() == count && series.movingAverage.size() == count &&
                series.errorPercent.size() == count,
            "one point per session in every series");
    require(count == 0 ? !series.best : (series.best && *series.best < count), "the best is a session");
    for (std::size_t k = 0; k < count; ++k) {
        require(series.movingAverage[k] >= 0 && series.movingAverage[k] <= 65535, "averages of speeds");
        if (series.best) require(series.speed[k] <= series.speed[*series.best], "none faster than the best");
    }
    if (count) require(series.recentAverage == series.movingAverage.back(), "the recent average is the last");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::ScratchDirectory program("results");
    static const bool made = platform::createDirectory(program.file("Users")) &&
                             platform::createDirectory(program.file("Users/fuzz"));
    require(made, "scratch user made");
    const std::string_view log(reinterpret_cast<const char*>(data), size);

    const ResultsHistory history = parseResultsHistory(log);
    require(history.sessions.size() + history.skippedLines <= linesIn(log), "no line counted twice");
    for (const LoggedSession& session : history.sessions) requireWritable(session);
    requireSeries(history);

    program.write("Users/fuzz/Results - Rus.txt", data, size);
    const ResultsHistory read = readResultsHistory(program.file("Users/fuzz/Results - Rus.txt"));
    require(read.sessions.size() == history.sessions.size() && read.skippedLines == history.skippedLines,
            "the file reads as its bytes do");
    text_tool::Arguments arguments;
    arguments.command = text_tool::Command::stats;
    arguments.programDirectory = program.path();
    arguments.user = "fuzz";
    arguments.csv = size % 2 == 1;
    std::ostringstream out;
    std::ostringstream err;
    require(text_tool::runStats(arguments, out, err) == text_tool::kSuccess, "the tool reports on any log");
    require(!out.str().empty() && err.str().empty(), "a report and no complaint");
    return 0;
}
