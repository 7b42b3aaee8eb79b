#pragma once
// The weak-key drill's own log, per user and language beside the results logs: "Weak keys -
// Rus.txt" / "Weak keys - Eng.txt", CP1251 text with CR LF, newest first. Each line is a line
// of the results log with the keys the session aimed at behind it, by their labels and apart:
//   " 09.12.2026    215    1.5%    5:07   Ш Ж Space\r\n"
// and "-" for a session of ordinary sentences (too few keystrokes to aim at). Every finished
// session is logged, however short: the drill's sessions are short by nature.
#include <string>
#include <vector>

#include "platform/system.h"
#include "users/results_log.h"
#include "weak_keys/weakness.h"

namespace dactyla {

std::string weakKeysLogPath(const std::string& userDirectory, bool russian);

// `aimedAt` empty: ordinary sentences.
std::string formatWeakKeysLogLine(const SessionResult& result, const std::vector<WeakKey>& aimedAt, bool russian,
                                  const platform::Date& date);

// Puts the line first, through a temporary file and a replace; false when the log could not
// be written (it then stays as it was).
bool appendWeakKeysLog(const std::string& userDirectory, bool russian, const SessionResult& result,
                       const std::vector<WeakKey>& aimedAt, const platform::Date& date);

}  // namespace dactyla
