#pragma once
// The results log of a user and language: CP1251 text lines ended by CR LF, newest first.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/options.h"
#include "platform/file.h"
#include "platform/system.h"

namespace dactyla {

struct SessionResult {
    std::uint16_t speed = 0;  // characters per minute
    float errorPercent = 0;
    std::uint8_t minutes = 0;
    std::uint8_t seconds = 0;
};

// "<userDirectory>\Results - Rus.txt" or "... - Eng.txt" by the language of `options`.
std::string resultsPath(const std::string& userDirectory, const Options& options);

// One log line, e.g. " 06.12.2026    215    1.5%    5:07\r\n"; alphabet drills end in
// "   A p\r\n" (capitals allowed, uniform letters).
std::string formatResultLine(const SessionResult& result, const Options& options, const platform::Date& date);

// Writes `bytes` to `file` and reports how many were written; tests replace it to fail part-way.
using LogWriter = std::function<std::size_t(platform::File& file, std::string_view bytes)>;
std::size_t writeAllBytes(platform::File& file, std::string_view bytes);

// Puts the line for `result` first in the log, dated today (UTC). False when the log cannot be
// opened (another program holds it) or the new log could not be written in full; the old log
// then stays as it was.
bool appendResult(const std::string& userDirectory, const Options& options, const SessionResult& result);
bool appendResult(const std::string& userDirectory, const Options& options, const SessionResult& result,
                  const platform::Date& date, const LogWriter& write = writeAllBytes);

// Puts `line` first in the log at `path`, which is made when missing, the same safe way; the
// drills beside sentences keep their own logs through it.
bool prependLogLine(const std::string& path, std::string_view line, const LogWriter& write = writeAllBytes);

}  // namespace dactyla
