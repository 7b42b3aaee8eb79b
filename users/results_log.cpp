#include "users/results_log.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "base/whole_file.h"
#include "platform/directory.h"

namespace dactyla {
namespace {

// A percentage outside 0..100 (or none at all, after a session without keystrokes) would
// break the columns of the log.
double printablePercent(float percent) {
    if (!(percent >= 0.0f)) return 0.0;
    return percent > 100.0f ? 100.0 : static_cast<double>(percent);
}

}  // namespace

std::string resultsPath(const std::string& userDirectory, const Options& options) {
    return platform::joinPath(userDirectory, options.russian ? "Results - Rus.txt" : "Results - Eng.txt");
}

std::string formatResultLine(const SessionResult& result, const Options& options,
                             const platform::Date& date) {
    char line[96];
    const int length = std::snprintf(
        line, sizeof line, " %.2u.%.2u.%u%7u%7.1f%%%5u:%.2u\r\n", static_cast<unsigned>(date.day),
        static_cast<unsigned>(date.month), static_cast<unsigned>(date.year), unsigned {result.speed},
        printablePercent(result.errorPercent), unsigned {result.minutes}, unsigned {result.seconds});
    std::string text(line, length > 0 ? static_cast<std::size_t>(length) : 0);
    if (options.alphabetMode && text.size() >= 2) {
        text.resize(text.size() - 2);
        text += "   ";
        text += options.allowCapitals ? 'A' : 'a';
        text += ' ';
        text += options.uniformLetters ? 'p' : ' ';
        text += "\r\n";
    }
    return text;
}

std::size_t writeAllBytes(platform::File& file, std::string_view bytes) {
    return file.write(bytes.data(), bytes.size());
}

bool appendResult(const std::string& userDirectory, const Options& options, const SessionResult& result) {
    return appendResult(userDirectory, options, result, platform::utcDate());
}

bool appendResult(const std::string& userDirectory, const Options& options, const SessionResult& result,
                  const platform::Date& date, const LogWriter& write) {
    return prependLogLine(resultsPath(userDirectory, options), formatResultLine(result, options, date), write);
}

// The new log is written in full beside the old one and then takes its place, so a crash or a
// full disk half-way leaves the old log as it was.
bool prependLogLine(const std::string& path, std::string_view line, const LogWriter& write) {
    platform::File log = platform::File::open(
        path, {.mode = platform::OpenMode::always, .hint = platform::AccessHint::sequential});
    if (!log.isOpen()) return false;
    const auto oldSize = log.size();
    if (!oldSize) return false;

    const std::string temporary = path + ".new";
    platform::File fresh = platform::File::open(
        temporary, {.mode = platform::OpenMode::createAlways, .hint = platform::AccessHint::sequential});
    const bool complete = fresh.isOpen() && write(fresh, line) == line.size() &&
                          copyInBlocks(log, *oldSize, [&](std::string_view bytes) { return write(fresh, bytes) == bytes.size(); }) &&
                          fresh.flush();
    fresh.close();
    log.close();
    if (complete && platform::replaceFile(temporary, path)) return true;
    platform::deleteFile(temporary);
    return false;
}

}  // namespace dactyla
